<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
<context>
    <name>lumaro::GatewayOverview</name>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Gear</source>
        <translation>设备数</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Failure/Off line</source>
        <translation>故障/离线</translation>
    </message>
</context>
</TS>
