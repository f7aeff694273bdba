<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CMainFrame</name>
    <message>
        <source>Saving project data , please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>finish.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumaro software close success.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumaro</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMyTreeCtrlDevice</name>
    <message>
        <source>Loading,Please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Devices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ExpandControl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TimingControl</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPortSetting</name>
    <message>
        <source>AUTO/USB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GatewayLink</name>
    <message>
        <source>Failure,Please open the serial port first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failure,Abnormal number=%d.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time-out.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectData</name>
    <message>
        <source>ControlGear</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectStore</name>
    <message>
        <source>Missing files, failure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Project data loss or damage, open failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failure,Cannot read %1: %2.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failure,Cannot write %1: %2.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failure,Allowed only %1 expand group.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failure,Allowed only %1 sequence tables.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialLine</name>
    <message>
        <source>%1 Open Failed.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Open Failed.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Open  success.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Open,</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM close Failed.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 close success.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 line error: %2<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TerminationSignals</name>
    <message>
        <source>pipe failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sigaction failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumaro::CMainFrame</name>
    <message>
        <source>Lumaro Com control software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;User...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Scan Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add Gateway...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Port Setting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ToolBar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;DeviceView</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;LogView</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>StatusBar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Dimming Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Gateway</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting serial port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outport</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close dimming dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DeviceView</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LogView</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumaro software open success.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading data,Please wait ... </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings have been changed , please take effect after restarting the software.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to exit?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lumaro::COutputList</name>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
