#include "projectdata.h"

#include "projectstore.h"
#include "rebuildobserver.h"

#include <QCoreApplication>

namespace lumaro {

namespace {

const QString kName = QStringLiteral("NAME");
const QString kStatus = QStringLiteral("STATUS");
const QString kLevel = QStringLiteral("VOLUE");
const QString kModel = QStringLiteral("MODEL");

QString readDb(const ProjectStore &store, const QString &section, const QString &key,
               const QString &defaultValue = QString())
{
    return store.read(ProjectFile::Db, section, key, defaultValue);
}

// A byte-sized number of the file; anything else gives the fallback.
quint8 toByte(const QString &text, int base, quint8 fallback)
{
    bool ok = false;
    const uint value = text.toUInt(&ok, base);
    return ok && value <= 0xFF ? quint8(value) : fallback;
}

// GATEIP holds the 32-bit address as a decimal number. Writers that printed it signed leave
// addresses from 128.0.0.0 up negative; both spellings give the same 32 bits.
quint32 toAddress(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    return ok ? quint32(value) : 0;
}

}  // namespace

QString ProjectData::gatewaySection(int g)
{
    return QStringLiteral("M%1").arg(g);
}

QString ProjectData::groupSection(int g, int k)
{
    return QStringLiteral("M%1G%2").arg(g).arg(k);
}

QString ProjectData::gearSection(int g, int a)
{
    return QStringLiteral("M%1A%2").arg(g).arg(a);
}

QString ProjectData::dottedAddress(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg((address >> 24) & 0xFF)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

void ProjectData::rebuild(const ProjectStore &store, RebuildObserver *observer)
{
    for (int g = kFirstGateway; g <= kLastGateway; ++g) {
        GatewayRecord &gw = gateway(g);
        gw.present = false;
        gw.treeItem = nullptr;
        const QString section = gatewaySection(g);
        // A header line alone makes the gateway present.
        if (!store.readSection(ProjectFile::Db, section)) {
            // A removed gateway takes its groups and gear with it, or the status poll would go
            // on polling gear that left the project.
            gw.groupCount = 0;
            gw.gearCount = 0;
            for (GroupRecord &grp : gw.groups) {
                grp.present = false;
                grp.members.fill(0);
            }
            for (GearRecord &gr : gw.gear)
                gr.present = false;
            continue;
        }
        gw.present = true;
        if (observer)
            observer->onGateway(g, readDb(store, section, kName) + QStringLiteral("#M%1").arg(g));
        gw.ipAddress = toAddress(readDb(store, section, QStringLiteral("GATEIP"), QStringLiteral("0")));
        bool ok = false;
        const uint port = readDb(store, section, QStringLiteral("GATEPORT")).toUInt(&ok);
        gw.ipPort = ok ? port : GatewayRecord::kDefaultPort;

        // Gear names label both the group members and the gear nodes.
        std::array<QString, GatewayRecord::kGear> gearNames;
        std::array<bool, GatewayRecord::kGear> gearExists{};
        for (int a = 0; a < GatewayRecord::kGear; ++a) {
            gearExists[size_t(a)] = store.readSection(ProjectFile::Db, gearSection(g, a));
            gearNames[size_t(a)] = readDb(store, gearSection(g, a), kName);
        }

        gw.groupCount = 0;
        for (int k = 0; k < GatewayRecord::kGroups; ++k) {
            GroupRecord &grp = gw.groups[size_t(k)];
            grp.present = false;
            grp.members.fill(0);
            const QString groupName = groupSection(g, k);
            if (!store.readSection(ProjectFile::Db, groupName))
                continue;
            grp.present = true;
            ++gw.groupCount;
            if (observer) {
                const QString name = readDb(store, groupName, kName, QStringLiteral("Group%1").arg(k));
                observer->onGroup(g, k, name + QStringLiteral("#G%1").arg(k));
            }
            const QString memberKey = QStringLiteral("GROUP%1").arg(k);
            for (int a = 0; a < GatewayRecord::kGear; ++a) {
                // Exactly "TRUE": the files hold TRUE or FALSE, nothing else counts.
                if (readDb(store, gearSection(g, a), memberKey) != QLatin1String("TRUE"))
                    continue;
                grp.setMember(a, true);
                if (observer)
                    observer->onGroupMember(g, k, a, gearNames[size_t(a)] + QStringLiteral("#A%1").arg(a));
            }
        }

        if (observer)
            observer->onGearFolder(g, QCoreApplication::translate("ProjectData", "ControlGear")
                                          + QStringLiteral("#CG"));
        gw.gearCount = 0;
        for (int a = 0; a < GatewayRecord::kGear; ++a) {
            GearRecord &gr = gw.gear[size_t(a)];
            gr.present = gearExists[size_t(a)];
            if (!gr.present)
                continue;
            ++gw.gearCount;
            if (observer)
                observer->onGear(g, a, gearNames[size_t(a)] + QStringLiteral("#A%1").arg(a));
        }
    }
}

void ProjectData::loadGatewayState(const ProjectStore &store, int g)
{
    GatewayRecord &gw = gateway(g);
    const QString section = gatewaySection(g);
    gw.stateKnown = true;
    gw.status = toByte(readDb(store, section, kStatus, QStringLiteral("0")), 10, 0);
    gw.model = toByte(readDb(store, section, kModel), 16, 0xFF);
}

void ProjectData::loadGearState(const ProjectStore &store, int g, int a)
{
    GearRecord &gr = gear(g, a);
    const QString section = gearSection(g, a);
    gr.stateKnown = true;
    gr.status = toByte(readDb(store, section, kStatus, QStringLiteral("0")), 10, 0);
    gr.level = toByte(readDb(store, section, kLevel, QStringLiteral("0")), 10, 0);
    gr.deviceType = toByte(readDb(store, section, kModel), 16, GearRecord::kNoDeviceType);
    gr.colourType = toByte(readDb(store, section, QStringLiteral("COLOUR_TYPE")), 10,
                           GearRecord::kDefaultColourType);
}

bool ProjectData::saveLiveState(ProjectStore &store) const
{
    // Before the copy has loaded these go to the file one by one; that only happens when the
    // program ends during start-up.
    bool ok = true;
    for (int g = kFirstGateway; g <= kLastGateway; ++g) {
        const GatewayRecord &gw = gateway(g);
        if (!gw.present)
            continue;
        if (gw.stateKnown)
            ok &= store.writeToCopy(ProjectFile::Db, gatewaySection(g), kStatus, QString::number(gw.status));
        for (int a = 0; a < GatewayRecord::kGear; ++a) {
            const GearRecord &gr = gw.gear[size_t(a)];
            if (!gr.present || !gr.stateKnown)
                continue;
            const QString section = gearSection(g, a);
            ok &= store.writeToCopy(ProjectFile::Db, section, kStatus, QString::number(gr.status));
            ok &= store.writeToCopy(ProjectFile::Db, section, kLevel, QString::number(gr.level));
        }
    }
    if (store.isLoaded(ProjectFile::Db))
        return store.saveCopy(ProjectFile::Db);
    return ok;
}

}  // namespace lumaro
