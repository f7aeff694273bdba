#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lumaro {

// The choices of the port list: "AUTO/USB" first (index 0, search the ports for gateway 1), then
// the serial ports the system knows, in the system's order, then the devices named on the command
// line with --port (a gateway-sim pseudo-terminal, an adapter the system does not list). Index n
// of the list is what key COM of section B0 stores; the device's name is what key PORTNAME
// stores, since the index of a device changes when adapters come and go.
//
// A value type: the main window builds it afresh with fromSystem() before the port dialog opens.
class PortList
{
public:
    static constexpr int kAuto = 0;

    // A port as the system lists it: the name that is shown, stored and opened (ttyUSB0, COM3)
    // and its device path (/dev/ttyUSB0), which a --port device may name instead.
    struct Port {
        QString name;
        QString systemLocation;
    };

    PortList() = default;
    // Devices that are already in the list (by name or by path) are not added twice.
    PortList(const QList<Port> &systemPorts, const QStringList &extraDevices);
    static PortList fromSystem(const QStringList &extraDevices = {});

    static QString autoText();

    // Number of choices, "AUTO/USB" included.
    int count() const { return int(m_ports.size()) + 1; }
    // "AUTO/USB" followed by the device names.
    QStringList texts() const;
    // The devices without "AUTO/USB", in list order.
    QStringList devices() const;
    // The device at a list index; empty for "AUTO/USB" and for an index outside the list.
    QString deviceAt(int index) const;
    // The list index of a device named by its name or its path; -1 when it is not listed.
    int indexOf(const QString &device) const;

private:
    QList<Port> m_ports;
};

}  // namespace lumaro
