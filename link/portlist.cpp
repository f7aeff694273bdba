#include "portlist.h"

#include <QCoreApplication>
#include <QSerialPortInfo>

namespace lumaro {

PortList::PortList(const QList<Port> &systemPorts, const QStringList &extraDevices)
{
    for (const Port &port : systemPorts)
        if (!port.name.isEmpty() && indexOf(port.name) < 0)
            m_ports.append(port);
    for (const QString &device : extraDevices)
        if (!device.isEmpty() && indexOf(device) < 0)
            m_ports.append({device, device});
}

PortList PortList::fromSystem(const QStringList &extraDevices)
{
    QList<Port> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append({info.portName(), info.systemLocation()});
    return PortList(ports, extraDevices);
}

QString PortList::autoText()
{
    return QCoreApplication::translate("CPortSetting", "AUTO/USB");
}

QStringList PortList::texts() const
{
    return QStringList{autoText()} + devices();
}

QStringList PortList::devices() const
{
    QStringList names;
    for (const Port &port : m_ports)
        names.append(port.name);
    return names;
}

QString PortList::deviceAt(int index) const
{
    if (index <= kAuto || index > m_ports.size())
        return {};
    return m_ports[index - 1].name;
}

int PortList::indexOf(const QString &device) const
{
    if (device.isEmpty())
        return -1;
    for (qsizetype i = 0; i < m_ports.size(); ++i)
        if (m_ports[i].name == device || m_ports[i].systemLocation == device)
            return int(i) + 1;
    return -1;
}

}  // namespace lumaro
