#include "devicenode.h"

#include "protocol.h"

#include <QCoreApplication>

namespace lumaro {

namespace {
const QString kAllDevice = QStringLiteral("AllDevice");

// The last part of the status bar's application id for a target of the whole gateway or a
// group: groups count from 3, the gear folder is 19 and any other broadcast 20.
constexpr int kAppIdGroupBase = 3;
constexpr int kAppIdGearFolder = 19;
constexpr int kAppIdBroadcast = 20;
}  // namespace

QString DeviceNode::key() const
{
    switch (kind) {
    case Kind::Root: return QStringLiteral("Devices");
    case Kind::ExpandFolder: return QStringLiteral("ExpandControl");
    case Kind::TimingFolder: return QStringLiteral("TimingControl");
    default: break;
    }
    const qsizetype hash = label.indexOf(u'#');
    return hash < 0 ? label : label.mid(hash + 1);
}

QString DeviceNode::displayName() const
{
    const qsizetype hash = label.indexOf(u'#');
    return hash < 0 ? label : label.left(hash);
}

QString DeviceNode::fullKey() const
{
    switch (kind) {
    case Kind::Gateway: return QStringLiteral("M%1").arg(gateway);
    case Kind::Group: return QStringLiteral("M%1G%2").arg(gateway).arg(group);
    case Kind::GearFolder: return QStringLiteral("M%1CG").arg(gateway);
    case Kind::Gear:
    case Kind::Member: return QStringLiteral("M%1A%2").arg(gateway).arg(address);
    default: return key();
    }
}

CurrentTarget DeviceNode::target() const
{
    CurrentTarget t;
    switch (kind) {
    case Kind::Gear:
    case Kind::Member:
        t.gateway = gateway;
        t.targetCode = address;
        break;
    case Kind::Group:
        t.gateway = gateway;
        t.targetCode = protocol::target::group(group);
        break;
    case Kind::GearFolder:
    case Kind::Gateway:
        t.gateway = gateway;
        t.targetCode = protocol::target::Broadcast;
        break;
    default:
        t.gateway = protocol::kAllGateways;
        t.targetCode = protocol::target::Broadcast;
        break;
    }
    switch (kind) {
    case Kind::Root:
    case Kind::ExpandFolder:
    case Kind::TimingFolder: t.label = kAllDevice; break;
    default: t.label = fullKey(); break;
    }
    return t;
}

QString DeviceNode::appId() const
{
    const CurrentTarget t = target();
    if (t.isGear())
        return QStringLiteral("App ID = B%1M%2A%3R0").arg(t.bus).arg(t.gateway).arg(t.targetCode);
    int r = kAppIdBroadcast;
    if (t.isGroup())
        r = t.targetCode - protocol::target::FirstGroup + kAppIdGroupBase;
    else if (kind == Kind::GearFolder)
        r = kAppIdGearFolder;
    return QStringLiteral("App ID = B%1M%2R%3").arg(t.bus).arg(t.gateway).arg(r);
}

}  // namespace lumaro
