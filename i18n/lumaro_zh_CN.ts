<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CAddGateway</name>
    <message>
        <source>Add Gateway</source>
        <translation>添加网关</translation>
    </message>
    <message>
        <source>Edit Gateway</source>
        <translation>编辑网关</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Please input the Name.</source>
        <translation>请输入名称。</translation>
    </message>
    <message>
        <source>Searching for device </source>
        <translation>正在搜索设备 </translation>
    </message>
    <message>
        <source>Failure.<byte value="xd"/>
</source>
        <translation>失败。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Add failure.</source>
        <translation>添加失败。</translation>
    </message>
    <message>
        <source>Success.<byte value="xd"/>
</source>
        <translation>成功。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Time-out.<byte value="xd"/>
</source>
        <translation>超时。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Search Timeout, add failure.</source>
        <translation>搜索超时，添加失败。</translation>
    </message>
    <message>
        <source>Device type error,add failure.</source>
        <translation>设备类型错误，添加失败。</translation>
    </message>
    <message>
        <source>Add RS485 extension interface DALI gateway</source>
        <translation>添加 RS485 扩展接口 DALI 网关</translation>
    </message>
    <message>
        <source>Gateway ID:</source>
        <translation>网关地址：</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>Connect to:</source>
        <translation>连接到：</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP：</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>串口：</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>位置：</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Saving project data , please wait...</source>
        <translation>正在保存工程数据，请稍候...</translation>
    </message>
    <message>
        <source>finish.<byte value="xd"/>
</source>
        <translation>完成。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Lumaro software close success.<byte value="xd"/>
</source>
        <translation>Lumaro 软件关闭成功。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Lumaro</source>
        <translation>Lumaro</translation>
    </message>
</context>
<context>
    <name>CMyGatewayView</name>
    <message>
        <source>Check status</source>
        <translation>检测状态</translation>
    </message>
    <message>
        <source>Read version</source>
        <translation>读取版本</translation>
    </message>
    <message>
        <source>Read network parameters</source>
        <translation>读取网络参数</translation>
    </message>
    <message>
        <source>Read controller time</source>
        <translation>读取控制器时间</translation>
    </message>
    <message>
        <source>Read time control status</source>
        <translation>读取定时控制状态</translation>
    </message>
    <message>
        <source>Reboot device</source>
        <translation>重启设备</translation>
    </message>
    <message>
        <source>Calibration time</source>
        <translation>校准时间</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Net Connect</source>
        <translation>网络连接</translation>
    </message>
    <message>
        <source>Slave total</source>
        <translation>从机总数</translation>
    </message>
    <message>
        <source>Group total</source>
        <translation>组总数</translation>
    </message>
    <message>
        <source>DEV</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Gateway Device</source>
        <translation>网关设备</translation>
    </message>
    <message>
        <source>Remark</source>
        <translation>备注</translation>
    </message>
    <message>
        <source> /Busy</source>
        <translation> /忙</translation>
    </message>
    <message>
        <source> /Debug</source>
        <translation> /调试</translation>
    </message>
    <message>
        <source> /Scan DALI gears</source>
        <translation> /搜索 DALI 设备</translation>
    </message>
    <message>
        <source> /Lock DALI bus</source>
        <translation> /锁定 DALI 总线</translation>
    </message>
    <message>
        <source> /Fire fighting linkage</source>
        <translation> /消防联动</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Failure/Off line</source>
        <translation>故障/离线</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>故障</translation>
    </message>
    <message>
        <source>The software function upgrade, please upgrade %s gateway firmware(or above)!</source>
        <translation>软件功能已升级，请将 %s 网关固件升级（或更高版本）！</translation>
    </message>
    <message>
        <source> Check ... </source>
        <translation> 检测 ... </translation>
    </message>
    <message>
        <source> Failure,Abnormal number=%d.<byte value="xd"/>
</source>
        <translation> 失败，异常码=%d。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source> OK.</source>
        <translation> 成功。</translation>
    </message>
    <message>
        <source> Time-out.<byte value="xd"/>
</source>
        <translation> 超时。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source> Failure/Off line.<byte value="xd"/>
</source>
        <translation> 故障/离线。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>M%d Check status,</source>
        <translation>M%d 检测状态，</translation>
    </message>
    <message>
        <source>M%d Read version,</source>
        <translation>M%d 读取版本，</translation>
    </message>
    <message>
        <source>M%d Read network parameters,</source>
        <translation>M%d 读取网络参数，</translation>
    </message>
    <message>
        <source>M%dReboot device ... </source>
        <translation>M%d重启设备 ... </translation>
    </message>
    <message>
        <source>M%d Read controller time,</source>
        <translation>M%d 读取控制器时间，</translation>
    </message>
    <message>
        <source>M%d Calibration time %d-%d-%d %d:%d:%d W=%d,</source>
        <translation>M%d 校准时间 %d-%d-%d %d:%d:%d 星期=%d，</translation>
    </message>
    <message>
        <source>M%d Read time control status,</source>
        <translation>M%d 读取定时控制状态，</translation>
    </message>
    <message>
        <source>Response failure.<byte value="xd"/>
</source>
        <translation>响应失败。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source> OK.Version=</source>
        <translation> 成功。版本=</translation>
    </message>
    <message>
        <source> OK.Please wait 1 minutes，device is being restarted</source>
        <translation> 成功。请等待1分钟，设备正在重启</translation>
    </message>
    <message>
        <source>Timing:</source>
        <translation>定时：</translation>
    </message>
    <message>
        <source>ON;  </source>
        <translation>开；  </translation>
    </message>
    <message>
        <source>OFF; </source>
        <translation>关； </translation>
    </message>
    <message>
        <source>Sequence</source>
        <translation>序列</translation>
    </message>
    <message>
        <source>ON; </source>
        <translation>开； </translation>
    </message>
</context>
<context>
    <name>CMyTreeCtrlDevice</name>
    <message>
        <source>Loading,Please wait...</source>
        <translation>正在加载，请稍候...</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>ExpandControl</source>
        <translation>扩展控制</translation>
    </message>
    <message>
        <source>TimingControl</source>
        <translation>定时控制</translation>
    </message>
    <message>
        <source>Add Expand Control</source>
        <translation>添加扩展控制</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>编辑(&amp;E)...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>Add &amp;Sequence</source>
        <translation>添加序列(&amp;S)</translation>
    </message>
    <message>
        <source>Send To...</source>
        <translation>发送到...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Add Device...</source>
        <translation>添加设备...</translation>
    </message>
    <message>
        <source>Store Actual Level As Scene</source>
        <translation>将当前亮度存为场景</translation>
    </message>
    <message>
        <source>Remove From Scene</source>
        <translation>从场景中移除</translation>
    </message>
    <message>
        <source>&amp;Edit ...</source>
        <translation>编辑(&amp;E) ...</translation>
    </message>
    <message>
        <source>Add Gatewa&amp;y ...</source>
        <translation>添加网关(&amp;Y) ...</translation>
    </message>
    <message>
        <source>&amp;Scan Slave Gear ...</source>
        <translation>搜索从机设备(&amp;S) ...</translation>
    </message>
    <message>
        <source>Add &amp;Group</source>
        <translation>添加组(&amp;G)</translation>
    </message>
    <message>
        <source>Scene %d Store</source>
        <translation>场景 %d 存储</translation>
    </message>
    <message>
        <source>Remove Level From Scene</source>
        <translation>从场景中移除亮度</translation>
    </message>
    <message>
        <source>Scene %d Remove</source>
        <translation>场景 %d 移除</translation>
    </message>
    <message>
        <source>Di&amp;mming ...</source>
        <translation>调光(&amp;M) ...</translation>
    </message>
    <message>
        <source>&amp;Off</source>
        <translation>关闭(&amp;O)</translation>
    </message>
    <message>
        <source>Recall M&amp;in Level</source>
        <translation>调用最小亮度(&amp;I)</translation>
    </message>
    <message>
        <source>Recall M&amp;ax Level</source>
        <translation>调用最大亮度(&amp;A)</translation>
    </message>
    <message>
        <source>Recall Scene</source>
        <translation>调用场景</translation>
    </message>
    <message>
        <source>Scene %d</source>
        <translation>场景 %d</translation>
    </message>
    <message>
        <source>Restore factory settings</source>
        <translation>恢复出厂设置</translation>
    </message>
    <message>
        <source>Test Addressing</source>
        <translation>地址测试</translation>
    </message>
    <message>
        <source>&amp;Properties ...</source>
        <translation>属性(&amp;P) ...</translation>
    </message>
    <message>
        <source>Turn Off Sequence</source>
        <translation>关闭序列</translation>
    </message>
    <message>
        <source>Turn On Sequence</source>
        <translation>开启序列</translation>
    </message>
    <message>
        <source>Sequence %d Off</source>
        <translation>序列 %d 关闭</translation>
    </message>
    <message>
        <source>Sequence %d On</source>
        <translation>序列 %d 开启</translation>
    </message>
    <message>
        <source>Are you sure to delete?</source>
        <translation>确定要删除吗？</translation>
    </message>
    <message>
        <source>Please,Delete child node first.</source>
        <translation>请先删除子节点。</translation>
    </message>
    <message>
        <source>Delete device address at the same time?</source>
        <translation>是否同时删除设备地址？</translation>
    </message>
    <message>
        <source>Delete group at the same time?</source>
        <translation>是否同时删除组？</translation>
    </message>
    <message>
        <source>Failure,Allowed only 16 group.</source>
        <translation>失败，最多只允许 16 个组。</translation>
    </message>
    <message>
        <source> OFF ... </source>
        <translation> 关闭 ... </translation>
    </message>
    <message>
        <source> Recall Min level... </source>
        <translation> 调用最小亮度... </translation>
    </message>
    <message>
        <source> Recall max level ... </source>
        <translation> 调用最大亮度 ... </translation>
    </message>
    <message>
        <source> Recall scene%d ... </source>
        <translation> 调用场景%d ... </translation>
    </message>
    <message>
        <source> Store actual level as scene%d ... </source>
        <translation> 将当前亮度存为场景%d ... </translation>
    </message>
    <message>
        <source> Remove scene13... </source>
        <translation> 移除场景13... </translation>
    </message>
    <message>
        <source> Remove scene%d ... </source>
        <translation> 移除场景%d ... </translation>
    </message>
    <message>
        <source> Restore default parameters ... </source>
        <translation> 恢复默认参数 ... </translation>
    </message>
    <message>
        <source> Delete short address ... </source>
        <translation> 删除短地址 ... </translation>
    </message>
    <message>
        <source> delete short address gear ... </source>
        <translation> 删除短地址设备 ... </translation>
    </message>
    <message>
        <source> Delete group %d ... </source>
        <translation> 删除组 %d ... </translation>
    </message>
    <message>
        <source>Turn On Sequence %d...</source>
        <translation>开启序列 %d...</translation>
    </message>
    <message>
        <source>Turn Off Sequence %d...</source>
        <translation>关闭序列 %d...</translation>
    </message>
    <message>
        <source>Are you sure to restore factory settings?</source>
        <translation>确定要恢复出厂设置吗？</translation>
    </message>
</context>
<context>
    <name>CPortSetting</name>
    <message>
        <source>AUTO/USB</source>
        <translation>自动/USB</translation>
    </message>
    <message>
        <source>Connecting %1, please wait......</source>
        <translation>正在连接 %1，请稍候......</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>Please select the COM port number  ... %1 Second</source>
        <translation>请选择串口号  ... %1 秒</translation>
    </message>
    <message>
        <source>Please select the COM port number</source>
        <translation>请选择串口号</translation>
    </message>
    <message>
        <source>Connect M1 GatewayUnit Timeout! please check the connection and try again.</source>
        <translation>连接 M1 网关超时！请检查连接后重试。</translation>
    </message>
    <message>
        <source>Time-out.<byte value="xd"/>
</source>
        <translation>超时。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Connect M1 GatewayUnit time-out! please check the connection and try again.</source>
        <translation>连接 M1 网关超时！请检查连接后重试。</translation>
    </message>
    <message>
        <source>Read M1 gatewayunit data ...  </source>
        <translation>读取 M1 网关数据 ...  </translation>
    </message>
    <message>
        <source>Failure.<byte value="xd"/>
</source>
        <translation>失败。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Connect M1 GatewayUnit failure! please check the connection and try again.</source>
        <translation>连接 M1 网关失败！请检查连接后重试。</translation>
    </message>
    <message>
        <source>Success.<byte value="xd"/>
</source>
        <translation>成功。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>GatewayUnit1</source>
        <translation>GatewayUnit1</translation>
    </message>
    <message>
        <source>Port setting</source>
        <translation>串口设置</translation>
    </message>
    <message>
        <source>Open Port</source>
        <translation>打开串口</translation>
    </message>
    <message>
        <source>Close Port</source>
        <translation>关闭串口</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>串口：</translation>
    </message>
    <message>
        <source>Baud rate:</source>
        <translation>波特率：</translation>
    </message>
    <message>
        <source>Parity:</source>
        <translation>校验位：</translation>
    </message>
    <message>
        <source>Stop Bit:</source>
        <translation>停止位：</translation>
    </message>
</context>
<context>
    <name>CTestAdressing</name>
    <message>
        <source>%s Recall Max level... </source>
        <translation>%s 调用最大亮度... </translation>
    </message>
    <message>
        <source>Recall Max level</source>
        <translation>调用最大亮度</translation>
    </message>
    <message>
        <source>M%d OFF ... </source>
        <translation>M%d 关闭 ... </translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>M%d Recall Min level... </source>
        <translation>M%d 调用最小亮度... </translation>
    </message>
    <message>
        <source>Recall Min level</source>
        <translation>调用最小亮度</translation>
    </message>
    <message>
        <source>Test addressing - </source>
        <translation>地址测试 - </translation>
    </message>
    <message>
        <source>Select the following action mode, then belong to the ID </source>
        <translation>选择下面的动作方式，则属于地址 </translation>
    </message>
    <message>
        <source> slave will show obvious brightness changes to indicate its installation position.</source>
        <translation> 的从机将出现明显的亮度变化，以指示其安装位置。</translation>
    </message>
    <message>
        <source>OFF + Max level</source>
        <translation>关闭 + 最大亮度</translation>
    </message>
    <message>
        <source>Min level + Max level</source>
        <translation>最小亮度 + 最大亮度</translation>
    </message>
    <message>
        <source>Action mode:</source>
        <translation>动作方式：</translation>
    </message>
    <message>
        <source>Interval [S]</source>
        <translation>间隔 [秒]</translation>
    </message>
</context>
<context>
    <name>GatewayLink</name>
    <message>
        <source>Failure,Please open the serial port first.</source>
        <translation>失败，请先打开串口。</translation>
    </message>
    <message>
        <source>Failure,Abnormal number=%d.<byte value="xd"/>
</source>
        <translation>失败，异常码=%d。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>OK.<byte value="xd"/>
</source>
        <translation>成功。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Time-out.<byte value="xd"/>
</source>
        <translation>超时。<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>GearList</name>
    <message>
        <source>Check status</source>
        <translation>检测状态</translation>
    </message>
    <message>
        <source>Read Version</source>
        <translation>读取版本</translation>
    </message>
    <message>
        <source> /Ballast faulure</source>
        <translation> /镇流器故障</translation>
    </message>
    <message>
        <source> /Lamp failure</source>
        <translation> /灯具故障</translation>
    </message>
    <message>
        <source> /Lamp arc power on</source>
        <translation> /灯具已点亮</translation>
    </message>
    <message>
        <source> /Limit error</source>
        <translation> /限值错误</translation>
    </message>
    <message>
        <source> /Fade is runnig</source>
        <translation> /渐变进行中</translation>
    </message>
    <message>
        <source> /Reset state</source>
        <translation> /复位状态</translation>
    </message>
    <message>
        <source> /Missing short address</source>
        <translation> /缺少短地址</translation>
    </message>
    <message>
        <source> /Power failure</source>
        <translation> /电源故障</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Remark</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>PhysicalMinLevel</source>
        <translation>物理最小亮度</translation>
    </message>
    <message>
        <source>Join Group</source>
        <translation>所属组</translation>
    </message>
    <message>
        <source>Phy Min</source>
        <translation>物理最小</translation>
    </message>
    <message>
        <source> Check ... </source>
        <translation> 检测 ... </translation>
    </message>
    <message>
        <source> Query ... </source>
        <translation> 查询 ... </translation>
    </message>
    <message>
        <source> Query colour ... </source>
        <translation> 查询颜色 ... </translation>
    </message>
    <message>
        <source> Volue=%d</source>
        <translation> 亮度=%d</translation>
    </message>
    <message>
        <source> Tc=%dK</source>
        <translation> 色温=%dK</translation>
    </message>
    <message>
        <source> R=%d</source>
        <translation> R=%d</translation>
    </message>
    <message>
        <source>,G=%d</source>
        <translation>,G=%d</translation>
    </message>
    <message>
        <source>,B=%d</source>
        <translation>,B=%d</translation>
    </message>
    <message>
        <source>,W=%d</source>
        <translation>,W=%d</translation>
    </message>
    <message>
        <source>M%dA%d Check grear,</source>
        <translation>M%dA%d 检测设备，</translation>
    </message>
    <message>
        <source>M%dA%d Query status,</source>
        <translation>M%dA%d 查询状态，</translation>
    </message>
    <message>
        <source>M%dA%d Query colour,</source>
        <translation>M%dA%d 查询颜色，</translation>
    </message>
    <message>
        <source>M%dA%d Read version,</source>
        <translation>M%dA%d 读取版本，</translation>
    </message>
    <message>
        <source>M%dA%d</source>
        <translation>M%dA%d</translation>
    </message>
</context>
<context>
    <name>ProjectData</name>
    <message>
        <source>ControlGear</source>
        <translation>控制装置</translation>
    </message>
</context>
<context>
    <name>ProjectStore</name>
    <message>
        <source>Missing files, failure!</source>
        <translation>缺少文件，启动失败！</translation>
    </message>
    <message>
        <source>Project data loss or damage, open failed!</source>
        <translation>工程数据丢失或损坏，打开失败！</translation>
    </message>
    <message>
        <source>Failure,Cannot read %1: %2.<byte value="xd"/>
</source>
        <translation>失败，无法读取 %1：%2。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Failure,Cannot write %1: %2.<byte value="xd"/>
</source>
        <translation>失败，无法写入 %1：%2。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Failure,Allowed only %1 expand group.</source>
        <translation>失败，最多只允许 %1 个扩展组。</translation>
    </message>
    <message>
        <source>Failure,Allowed only %1 sequence tables.</source>
        <translation>失败，最多只允许 %1 个序列表。</translation>
    </message>
</context>
<context>
    <name>SerialLine</name>
    <message>
        <source>%1 Open Failed.<byte value="xd"/>
</source>
        <translation>%1 打开失败。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source> Open Failed.<byte value="xd"/>
</source>
        <translation> 打开失败。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>%1 Close</source>
        <translation>%1 已关闭</translation>
    </message>
    <message>
        <source>%1 Open  success.<byte value="xd"/>
</source>
        <translation>%1 打开  成功。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>%1 Open,</source>
        <translation>%1 已打开，</translation>
    </message>
    <message>
        <source>COM close Failed.<byte value="xd"/>
</source>
        <translation>串口关闭失败。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>%1 close success.<byte value="xd"/>
</source>
        <translation>%1 关闭成功。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>%1 line error: %2<byte value="xd"/>
</source>
        <translation>%1 线路错误：%2<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>StatusPoll</name>
    <message>
        <source> Check gear ... </source>
        <translation> 检测设备 ... </translation>
    </message>
    <message>
        <source> Query volue and status... </source>
        <translation> 查询亮度和状态... </translation>
    </message>
    <message>
        <source> Gateway response time-out.<byte value="xd"/>
</source>
        <translation> 网关响应超时。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source> OK.<byte value="xd"/>
</source>
        <translation> 成功。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source> success.</source>
        <translation> 成功。</translation>
    </message>
    <message>
        <source> Volue=%d</source>
        <translation> 亮度=%d</translation>
    </message>
    <message>
        <source>, Status=Failure.</source>
        <translation>，状态=故障。</translation>
    </message>
    <message>
        <source>, Status=OK.</source>
        <translation>，状态=正常。</translation>
    </message>
    <message>
        <source> <byte value="xd"/>
</source>
        <translation> <byte value="xd"/>
</translation>
    </message>
    <message>
        <source> Slave time-out.<byte value="xd"/>
</source>
        <translation> 从机超时。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source> Failure.<byte value="xd"/>
</source>
        <translation> 失败。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Response error.<byte value="xd"/>
</source>
        <translation>响应错误。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>M%dA%d</source>
        <translation>M%dA%d</translation>
    </message>
</context>
<context>
    <name>TerminationSignals</name>
    <message>
        <source>pipe failed: %1</source>
        <translation>创建管道失败：%1</translation>
    </message>
    <message>
        <source>sigaction failed: %1</source>
        <translation>安装信号处理失败：%1</translation>
    </message>
</context>
<context>
    <name>lumaro::CMainFrame</name>
    <message>
        <source>Lumaro Com control software</source>
        <translation>Lumaro 串口控制软件</translation>
    </message>
    <message>
        <source>&amp;User...</source>
        <translation>用户(&amp;U)...</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>导入(&amp;I)...</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>导出(&amp;E)...</translation>
    </message>
    <message>
        <source>Print ...</source>
        <translation>打印 ...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>&amp;Scan Setting</source>
        <translation>搜索设置(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Add Gateway...</source>
        <translation>添加网关(&amp;A)...</translation>
    </message>
    <message>
        <source>Open Port</source>
        <translation>打开串口</translation>
    </message>
    <message>
        <source>Close Port</source>
        <translation>关闭串口</translation>
    </message>
    <message>
        <source>&amp;Port Setting...</source>
        <translation>串口设置(&amp;P)...</translation>
    </message>
    <message>
        <source>Upgrade firmware</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>ToolBar</source>
        <translation>工具栏</translation>
    </message>
    <message>
        <source>&amp;DeviceView</source>
        <translation>设备视图(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;LogView</source>
        <translation>日志视图(&amp;L)</translation>
    </message>
    <message>
        <source>StatusBar</source>
        <translation>状态栏</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Close Dimming Dialog</source>
        <translation>关闭调光对话框</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>关于(&amp;A)...</translation>
    </message>
    <message>
        <source>Add Gateway</source>
        <translation>添加网关</translation>
    </message>
    <message>
        <source>Setting serial port</source>
        <translation>设置串口</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Outport</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Close dimming dialog</source>
        <translation>关闭调光对话框</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>工程(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>工具(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>控制</translation>
    </message>
    <message>
        <source>DeviceView</source>
        <translation>设备视图</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>日志</translation>
    </message>
    <message>
        <source>LogView</source>
        <translation>日志视图</translation>
    </message>
    <message>
        <source>Lumaro software open success.<byte value="xd"/>
</source>
        <translation>Lumaro 软件打开成功。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Loading data,Please wait ... </source>
        <translation>正在加载数据，请稍候 ... </translation>
    </message>
    <message>
        <source>Finish.<byte value="xd"/>
</source>
        <translation>完成。<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Settings have been changed , please take effect after restarting the software.</source>
        <translation>设置已更改，请重新启动软件后生效。</translation>
    </message>
    <message>
        <source>Are you sure to exit?</source>
        <translation>确定要退出吗？</translation>
    </message>
</context>
<context>
    <name>lumaro::COutputList</name>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
</context>
</TS>
