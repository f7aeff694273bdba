#include "gearlist.h"

#include "dalicommand.h"
#include "frame.h"
#include "gatewaylink.h"
#include "logsink.h"
#include "printftext.h"
#include "projectdata.h"
#include "projectstore.h"
#include "protocol.h"
#include "requesterid.h"
#include "softwaresettings.h"
#include "statuspoll.h"
#include "clock.h"

#include <QCoreApplication>
#include <array>

namespace lumaro {

namespace {

namespace p = protocol;

constexpr int kLastAddress = p::target::LastShortAddress;
constexpr int kPresenceCount = 1;
constexpr int kStatusLevelCount = 2;       // the status register, then the level register
constexpr int kTemperatureCount = 2;       // colour type, colour temperature in mirek
constexpr int kChannelCount = 5;           // colour type, R, G, B, W
constexpr int kVersionCount = 1;
constexpr int kTicksPerSecond = 1000 / GearList::kTickMs;
// IEC 62386-102 status bits that mean the gear cannot give its light.
constexpr uint8_t kFailureBits = dali::status::ControlGearFailure | dali::status::LampFailure;

// The log names of the status bits 0..7, in bit order.
constexpr std::array<const char *, 8> kStatusBitTexts = {
    QT_TRANSLATE_NOOP("GearList", " /Ballast faulure"),
    QT_TRANSLATE_NOOP("GearList", " /Lamp failure"),
    QT_TRANSLATE_NOOP("GearList", " /Lamp arc power on"),
    QT_TRANSLATE_NOOP("GearList", " /Limit error"),
    QT_TRANSLATE_NOOP("GearList", " /Fade is runnig"),
    QT_TRANSLATE_NOOP("GearList", " /Reset state"),
    QT_TRANSLATE_NOOP("GearList", " /Missing short address"),
    QT_TRANSLATE_NOOP("GearList", " /Power failure"),
};

constexpr std::array<const char *, 9> kColumnTitles = {
    QT_TRANSLATE_NOOP("GearList", "ID"),       QT_TRANSLATE_NOOP("GearList", "Name"),
    QT_TRANSLATE_NOOP("GearList", "Model"),    QT_TRANSLATE_NOOP("GearList", "Level"),
    QT_TRANSLATE_NOOP("GearList", "Status"),   QT_TRANSLATE_NOOP("GearList", "Version"),
    QT_TRANSLATE_NOOP("GearList", "Location"), QT_TRANSLATE_NOOP("GearList", "Remark"),
    QT_TRANSLATE_NOOP("GearList", "PhysicalMinLevel"),
};

constexpr std::array<const char *, 8> kPrintTitles = {
    QT_TRANSLATE_NOOP("GearList", "ID"),         QT_TRANSLATE_NOOP("GearList", "Name"),
    QT_TRANSLATE_NOOP("GearList", "Model"),      QT_TRANSLATE_NOOP("GearList", "Version"),
    QT_TRANSLATE_NOOP("GearList", "Join Group"), QT_TRANSLATE_NOOP("GearList", "Phy Min"),
    QT_TRANSLATE_NOOP("GearList", "Location"),   QT_TRANSLATE_NOOP("GearList", "Remark"),
};

QString tr(const char *text)
{
    return QCoreApplication::translate("GearList", text);
}

QString trd(const char *text)
{
    return fromPrintf(tr(text));
}

quint8 byteAt(const std::optional<uint16_t> &reg)
{
    return quint8(reg.value_or(0) & 0xFF);
}

}  // namespace

GearList::GearList(DeviceContext context, QObject *parent) : QObject(parent), m_ctx(context)
{
    m_ctx.link.registerRequester(requester::GearList, this);
}

GearList::~GearList()
{
    m_ctx.link.unregisterRequester(requester::GearList);
}

QStringList GearList::columnTitles()
{
    QStringList titles;
    for (const char *t : kColumnTitles)
        titles << tr(t);
    return titles;
}

int GearList::longPauseTicks() const
{
    return m_ctx.settings.checkThreadCount * kTicksPerSecond;
}

int GearList::answerWaitMs() const
{
    return m_ctx.settings.comTimeout;
}

// ---- rows ----

void GearList::readTypes(int gateway, int address)
{
    // The background poll may have made the state known before the list showed the gear, so the
    // types are read on every fill and not only with the lazy state load.
    GearRecord &gear = m_ctx.data.gear(gateway, address);
    const QString section = ProjectData::gearSection(gateway, address);
    bool ok = false;
    const uint type = m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("MODEL")).toUInt(&ok, 16);
    gear.deviceType = ok && type <= 0xFF ? quint8(type) : GearRecord::kNoDeviceType;
    const uint colourType = m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("COLOUR_TYPE"),
                                             QStringLiteral("2")).toUInt(&ok, 10);
    gear.colourType = ok && colourType <= 0xFF ? quint8(colourType) : GearRecord::kDefaultColourType;
}

GearList::Row GearList::makeRow(int address)
{
    const GearRecord &gear = m_ctx.data.gear(m_gateway, address);
    const QString section = ProjectData::gearSection(m_gateway, address);
    auto key = [&](const char *k) { return m_ctx.store.read(ProjectFile::Db, section, QLatin1String(k)); };
    Row row;
    row.gateway = m_gateway;
    row.address = address;
    row.id = section;
    row.name = key("NAME");
    row.model = gearcells::modelText(m_ctx.store.deviceTypeName(gear.deviceType), gear.deviceType, gear.colourType);
    row.version = key("VER");
    row.location = key("LOCATION");
    row.remark = key("REMARK");
    row.physicalMinimum = gearcells::physicalMinimum(key("PHYMIN"));
    setLevelStatus(row, true);
    return row;
}

void GearList::setLevelStatus(Row &row, bool onFill) const
{
    const GearRecord &gear = m_ctx.data.gear(row.gateway, row.address);
    row.level = gearcells::level(gear);
    row.status = gearcells::status(gear.status, onFill);
}

void GearList::fill(int gateway)
{
    m_rows.clear();
    m_index = 0;
    m_phase = Phase::Presence;
    m_delay = kFillDelayTicks;
    m_gateway = gateway >= ProjectData::kFirstGateway && gateway <= ProjectData::kLastGateway ? gateway : 0;
    if (m_gateway != 0) {
        for (int a = 0; a <= kLastAddress; ++a) {
            GearRecord &gear = m_ctx.data.gear(m_gateway, a);
            gear.listRow = GearRecord::kNotShown;
            gear.present = m_ctx.store.readSection(ProjectFile::Db, ProjectData::gearSection(m_gateway, a));
            if (!gear.present)
                continue;
            if (!gear.stateKnown)
                m_ctx.data.loadGearState(m_ctx.store, m_gateway, a);
            readTypes(m_gateway, a);
            gear.listRow = quint8(m_rows.size());
            m_rows.append(makeRow(a));
        }
    }
    emit filled();
}

void GearList::refreshRow(int gateway, int address)
{
    if (gateway != m_gateway || m_gateway == 0 || !p::target::isShortAddress(address))
        return;
    const int row = m_ctx.data.gear(gateway, address).listRow;
    if (row >= m_rows.size())
        return;
    setLevelStatus(m_rows[row], false);
    emit rowChanged(row);
}

void GearList::refreshAllRows()
{
    for (int row = 0; row < m_rows.size(); ++row) {
        setLevelStatus(m_rows[row], false);
        emit rowChanged(row);
    }
}

void GearList::updateTexts(int address)
{
    if (m_gateway == 0 || !p::target::isShortAddress(address))
        return;
    const int row = m_ctx.data.gear(m_gateway, address).listRow;
    if (row >= m_rows.size())
        return;
    const QString section = ProjectData::gearSection(m_gateway, address);
    Row &r = m_rows[row];
    r.name = m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("NAME"));
    r.location = m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("LOCATION"));
    r.remark = m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("REMARK"));
    emit rowChanged(row);
}

GearList::PrintTable GearList::printTable() const
{
    PrintTable table;
    if (m_gateway == 0)
        return table;
    table.heading = m_ctx.store.read(ProjectFile::Db, ProjectData::gatewaySection(m_gateway), QStringLiteral("NAME"))
        + QStringLiteral("#M%1").arg(m_gateway);
    table.date = m_ctx.clock.now().toString(QStringLiteral("yyyy-MM-dd"));
    for (const char *t : kPrintTitles)
        table.columns << tr(t);
    for (const Row &row : m_rows) {
        const QString section = ProjectData::gearSection(row.gateway, row.address);
        QStringList groups;
        for (int g = 0; g < p::target::GroupCount; ++g)
            if (m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("GROUP%1").arg(g)) == QLatin1String("TRUE"))
                groups << QStringLiteral("G%1").arg(g);
        table.rows.append({row.id, row.name, row.model, row.version, groups.join(u'\\'),
                           row.physicalMinimum, row.location, row.remark});
    }
    return table;
}

// ---- ticks ----

void GearList::tick()
{
    if (m_command != Command::None && m_commandWait > 0 && --m_commandWait == 0)
        commandStepDone();   // neither answer nor time-out came: go on
    if (m_delay > 0)
        --m_delay;
    if (m_delay == 0)
        pollStep();
}

// ---- the poll ----

void GearList::pollStep()
{
    if (!m_ctx.poll.isEnabled()) {
        m_delay = kRequestWaitTicks;
        return;
    }
    if (m_ctx.poll.isPaused() || m_ctx.link.isBusy())
        return;
    if (m_gateway == 0) {
        m_delay = kRequestWaitTicks;
        return;
    }
    if (m_index > kLastAddress)
        m_index = 0;
    if (!m_ctx.data.gear(m_gateway, m_index).present) {
        // Stop on the next present gear; the next step polls it.
        m_phase = Phase::Presence;
        do {
            if (++m_index > kLastAddress) {
                m_delay = longPauseTicks();
                return;
            }
        } while (!m_ctx.data.gear(m_gateway, m_index).present);
        return;
    }
    if (m_ctx.link.queuedCount() > 0) {
        m_delay = kRingBusyTicks;
        return;
    }

    const Gear gear{m_gateway, m_index};
    switch (m_phase) {
    case Phase::Presence:
        sendPoll(PresencePoll, kPresenceCount, QT_TRANSLATE_NOOP("GearList", " Check ... "));
        return;
    case Phase::StatusLevel:
        if (!sendPoll(StatusPoll, kStatusLevelCount, QT_TRANSLATE_NOOP("GearList", " Query ... ")))
            return;
        if (gearcells::showsColour(m_ctx.data.gear(gear.gateway, gear.address).deviceType)) {
            m_phase = Phase::Colour;
        } else {
            m_phase = Phase::Presence;
            advanceIndex();
        }
        return;
    case Phase::Colour:
        if (!sendPoll(ColourPoll, colourCount(gear), QT_TRANSLATE_NOOP("GearList", " Query colour ... ")))
            return;
        m_phase = Phase::Presence;
        advanceIndex();
        return;
    }
}

bool GearList::sendPoll(int tag, int count, const char *what)
{
    m_polled = {m_gateway, m_index};
    m_delay = kRequestWaitTicks;
    // Our exchange first: the background poll waits while the list asks its gear.
    m_ctx.poll.suspend(kSuspendSeconds);
    const QByteArray request = Frame::readRegisters(
        uint8_t(m_polled.gateway), p::reg::make(uint8_t(m_polled.address), uint8_t(tag == PresencePoll ? p::item::Presence : tag == StatusPoll ? p::item::StatusLevel : p::item::Colour)),
        uint16_t(count));
    return m_ctx.link.send(requester::GearList, tag, request, answerWaitMs(), label(m_polled) + tr(what))
        == GatewayLink::SendResult::Queued;
}

void GearList::advanceIndex()
{
    if (++m_index > kLastAddress)
        m_delay = longPauseTicks();
}

void GearList::afterQuery()
{
    m_delay = m_index > kLastAddress ? longPauseTicks() : 1;
}

int GearList::colourCount(const Gear &gear) const
{
    return gearcells::colourByTemperature(m_ctx.data.gear(gear.gateway, gear.address).colourType)
        ? kTemperatureCount : kChannelCount;
}

void GearList::onAnswer(int tag, const Frame &answer)
{
    switch (tag) {
    case PresencePoll:
    case StatusPoll:
    case ColourPoll:
        pollAnswer(tag, answer);
        return;
    case PresenceCommand:
    case StatusCommand:
    case ColourCommand:
    case VersionCommand:
        commandAnswer(tag, answer);
        return;
    default:
        responseError(tag);
    }
}

void GearList::onTimeout(int tag)
{
    log(tr(QT_TRANSLATE_NOOP("GearList", " Gateway response time-out.\r\n")));
    switch (tag) {
    case PresencePoll:
    case StatusPoll:
    case ColourPoll:
        pollTimeout(tag);
        return;
    default:
        commandTimeout(tag);
    }
}

void GearList::pollAnswer(int tag, const Frame &answer)
{
    if (answer.address() != m_polled.gateway) {
        responseError(tag);
        return;
    }
    if (answer.isException()) {
        pollException(tag);
        return;
    }
    if (answer.function() != p::function::ReadRegisters) {
        responseError(tag);
        return;
    }
    GearRecord &gear = m_ctx.data.gear(m_polled.gateway, m_polled.address);
    switch (tag) {
    case PresencePoll:
        gear.missCount = 0;
        gear.status = GearRecord::Answering;
        refreshRow(m_polled.gateway, m_polled.address);
        log(tr(QT_TRANSLATE_NOOP("GearList", " OK.\r\n")));
        m_phase = Phase::StatusLevel;
        m_delay = 1;
        return;
    case StatusPoll:
        if (!takeStatusLevel(m_polled, answer))
            return;
        afterQuery();
        return;
    default:
        if (!takeColour(m_polled, answer))
            return;
        afterQuery();
        return;
    }
}

bool GearList::presenceMissed(GearRecord &gear)
{
    if (gear.missCount < kMissLimit)
        ++gear.missCount;
    if (gear.missCount < kMissesToFail) {
        m_delay = 1;   // the same gear once more
        return false;
    }
    return true;
}

void GearList::levelLost(GearRecord &gear)
{
    gear.level = 0;
    refreshRow(m_polled.gateway, m_polled.address);
    afterQuery();
}

void GearList::nextGear()
{
    m_phase = Phase::Presence;
    ++m_index;
    afterQuery();
}

void GearList::pollException(int tag)
{
    log(tr(QT_TRANSLATE_NOOP("GearList", " Slave time-out.\r\n")));
    GearRecord &gear = m_ctx.data.gear(m_polled.gateway, m_polled.address);
    switch (tag) {
    case PresencePoll:
        if (!presenceMissed(gear))
            return;
        gear.status = GearRecord::NotAnswering;
        gear.level = 0;
        refreshRow(m_polled.gateway, m_polled.address);
        log(label(m_polled) + tr(QT_TRANSLATE_NOOP("GearList", " Failure/Off line.\r\n")));
        nextGear();
        return;
    case StatusPoll:
        levelLost(gear);
        return;
    default:
        clearColour(m_polled);
        afterQuery();
        return;
    }
}

void GearList::pollTimeout(int tag)
{
    GearRecord &gear = m_ctx.data.gear(m_polled.gateway, m_polled.address);
    switch (tag) {
    case PresencePoll:
        if (!presenceMissed(gear))
            return;
        markOffline(m_polled, true);
        log(label(m_polled) + tr(QT_TRANSLATE_NOOP("GearList", " Failure.\r\n")));
        nextGear();
        return;
    case StatusPoll:
        levelLost(gear);
        return;
    default:
        // The colour stays as last read: the gateway, not the gear, was silent.
        afterQuery();
        return;
    }
}

void GearList::responseError(int tag)
{
    log(tr(QT_TRANSLATE_NOOP("GearList", "Response error.\r\n")));
    if ((tag == PresencePoll || tag == StatusPoll) && m_index < kLastAddress && m_delay <= kRequestWaitTicks)
        m_delay = 1;
    else if (m_command != Command::None && (tag == PresenceCommand || tag == StatusCommand
                                            || tag == ColourCommand || tag == VersionCommand))
        commandStepDone();
}

// ---- what the answers carry ----

bool GearList::takeStatusLevel(const Gear &at, const Frame &answer)
{
    // Without the level register the checksum would be taken for the level.
    const auto statusRegister = answer.answerRegister(0);
    const auto levelRegister = answer.answerRegister(1);
    if (!statusRegister || !levelRegister) {
        responseError(-1);
        return false;
    }
    GearRecord &gear = m_ctx.data.gear(at.gateway, at.address);
    const quint8 status = byteAt(statusRegister);
    gear.level = byteAt(levelRegister);
    QString text = tr(QT_TRANSLATE_NOOP("GearList", " success.")) + trd(QT_TRANSLATE_NOOP("GearList", " Volue=%d")).arg(gear.level);
    if (status & kFailureBits) {
        gear.status = GearRecord::LampFailure;
        text += tr(QT_TRANSLATE_NOOP("GearList", ", Status=Faulure."));
    } else {
        text += tr(QT_TRANSLATE_NOOP("GearList", ", Status=OK."));
    }
    for (int bit = 0; bit < int(kStatusBitTexts.size()); ++bit)
        if (status >> bit & 1)
            text += tr(kStatusBitTexts[size_t(bit)]);
    refreshRow(at.gateway, at.address);
    log(text + tr(QT_TRANSLATE_NOOP("GearList", " \r\n")));
    return true;
}

bool GearList::takeColour(const Gear &at, const Frame &answer)
{
    GearRecord &gear = m_ctx.data.gear(at.gateway, at.address);
    QString text = tr(QT_TRANSLATE_NOOP("GearList", " success."));
    if (gearcells::colourByTemperature(gear.colourType)) {
        const auto mirek = answer.answerRegister(1);
        if (!mirek) {
            responseError(-1);
            return false;
        }
        gear.colourTemperature = *mirek;
        text += trd(QT_TRANSLATE_NOOP("GearList", " Tc=%dK")).arg(1000000 / std::max<quint32>(*mirek, 1));
    } else {
        const bool white = gearcells::hasWhite(gear.colourType);
        const int channels = white ? 4 : 3;
        if (!answer.answerRegister(channels)) {
            responseError(-1);
            return false;
        }
        for (int c = 0; c < channels; ++c)
            gear.colour[size_t(c)] = byteAt(answer.answerRegister(1 + c));
        text += trd(QT_TRANSLATE_NOOP("GearList", " R=%d")).arg(gear.colour[0])
            + trd(QT_TRANSLATE_NOOP("GearList", ",G=%d")).arg(gear.colour[1])
            + trd(QT_TRANSLATE_NOOP("GearList", ",B=%d")).arg(gear.colour[2]);
        if (white)
            text += trd(QT_TRANSLATE_NOOP("GearList", ",W=%d")).arg(gear.colour[3]);
    }
    refreshRow(at.gateway, at.address);
    log(text + tr(QT_TRANSLATE_NOOP("GearList", " \r\n")));
    return true;
}

void GearList::clearColour(const Gear &at)
{
    GearRecord &gear = m_ctx.data.gear(at.gateway, at.address);
    if (gearcells::colourByTemperature(gear.colourType))
        gear.colourTemperature = 0;
    else
        gear.colour = {};
    refreshRow(at.gateway, at.address);
}

void GearList::markOffline(const Gear &at, bool gatewaySilent)
{
    if (gatewaySilent) {
        GatewayRecord &gateway = m_ctx.data.gateway(at.gateway);
        gateway.status = GatewayRecord::NotAnswering;
        gateway.stateKnown = true;
    }
    GearRecord &gear = m_ctx.data.gear(at.gateway, at.address);
    gear.status = GearRecord::NotAnswering;
    gear.level = 0;
    refreshRow(at.gateway, at.address);
}

// ---- commands ----

void GearList::checkStatus(const QList<int> &rows)
{
    startCommand(Command::CheckStatus, rows);
}

void GearList::readVersion(const QList<int> &rows)
{
    startCommand(Command::ReadVersion, rows);
}

void GearList::startCommand(Command command, const QList<int> &rows)
{
    if (m_command != Command::None)
        return;
    m_commandGear.clear();
    for (int row : rows) {
        if (row < 0 || row >= m_rows.size())
            continue;
        // The gear is named by its "ID" text, M<gateway>A<address>.
        const QString id = m_rows[row].id;
        const qsizetype a = id.indexOf(u'A');
        bool okGateway = false;
        bool okAddress = false;
        const int gateway = id.mid(1, a - 1).toInt(&okGateway);
        const int address = id.mid(a + 1).toInt(&okAddress);
        if (a > 1 && okGateway && okAddress)
            m_commandGear.append({gateway, address});
    }
    if (m_commandGear.isEmpty())
        return;
    m_command = command;
    m_commandSteps.clear();
    commandStep();
}

void GearList::commandStep()
{
    while (m_commandSteps.isEmpty()) {
        if (m_commandGear.isEmpty()) {
            m_command = Command::None;
            return;
        }
        m_commandCurrent = m_commandGear.takeFirst();
        if (m_command == Command::ReadVersion) {
            m_commandSteps = {VersionCommand};
        } else {
            m_commandSteps = {PresenceCommand, StatusCommand};
            if (gearcells::showsColour(m_ctx.data.gear(m_commandCurrent.gateway, m_commandCurrent.address).deviceType))
                m_commandSteps.append(ColourCommand);
        }
    }
    const Tag tag = m_commandSteps.first();
    uint8_t item = p::item::Presence;
    int count = kPresenceCount;
    const char *what = QT_TRANSLATE_NOOP("GearList", "M%dA%d Check grear,");
    switch (tag) {
    case StatusCommand:
        item = p::item::StatusLevel;
        count = kStatusLevelCount;
        what = QT_TRANSLATE_NOOP("GearList", "M%dA%d Query status,");
        break;
    case ColourCommand:
        item = p::item::Colour;
        count = colourCount(m_commandCurrent);
        what = QT_TRANSLATE_NOOP("GearList", "M%dA%d Query colour,");
        break;
    case VersionCommand:
        item = p::item::Version;
        count = kVersionCount;
        what = QT_TRANSLATE_NOOP("GearList", "M%dA%d Read version,");
        break;
    default:
        break;
    }
    const QByteArray request = Frame::readRegisters(uint8_t(m_commandCurrent.gateway),
                                                    p::reg::make(uint8_t(m_commandCurrent.address), item), uint16_t(count));
    const QString description = trd(what).arg(m_commandCurrent.gateway).arg(m_commandCurrent.address);
    if (m_ctx.link.send(requester::GearList, tag, request, answerWaitMs(), description)
        != GatewayLink::SendResult::Queued) {
        // The port closed or the ring is full: the rest of the command cannot go out either.
        m_command = Command::None;
        m_commandGear.clear();
        m_commandSteps.clear();
        return;
    }
    m_commandWait = (answerWaitMs() + kCommandMarginMs + kTickMs - 1) / kTickMs;
}

void GearList::commandStepDone()
{
    if (m_command == Command::None)
        return;
    m_commandWait = 0;
    if (!m_commandSteps.isEmpty())
        m_commandSteps.removeFirst();
    commandStep();
}

void GearList::commandAnswer(int tag, const Frame &answer)
{
    if (m_command == Command::None || m_commandSteps.isEmpty() || m_commandSteps.first() != tag
        || answer.address() != m_commandCurrent.gateway) {
        responseError(tag);
        return;
    }
    const Gear &at = m_commandCurrent;
    GearRecord &gear = m_ctx.data.gear(at.gateway, at.address);
    if (answer.isException()) {
        log(tr(QT_TRANSLATE_NOOP("GearList", " Slave time-out.\r\n")));
        switch (tag) {
        case PresenceCommand:
            gear.status = GearRecord::NotAnswering;
            gear.level = 0;
            refreshRow(at.gateway, at.address);
            break;
        case StatusCommand:
            gear.level = 0;
            refreshRow(at.gateway, at.address);
            break;
        case ColourCommand:
            clearColour(at);
            break;
        default:
            break;
        }
        commandStepDone();
        return;
    }
    switch (tag) {
    case PresenceCommand:
        gear.status = GearRecord::Answering;
        refreshRow(at.gateway, at.address);
        log(tr(QT_TRANSLATE_NOOP("GearList", " OK.\r\n")));
        break;
    case StatusCommand:
        takeStatusLevel(at, answer);
        break;
    case ColourCommand:
        takeColour(at, answer);
        break;
    case VersionCommand: {
        if (!answer.answerRegister(0)) {
            log(tr(QT_TRANSLATE_NOOP("GearList", "Response error.\r\n")));
            break;
        }
        const QString version = QString::number(byteAt(answer.answerRegister(0)));
        const QString section = ProjectData::gearSection(at.gateway, at.address);
        if (m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("VER")) != version)
            m_ctx.store.writeThrough(ProjectFile::Db, section, QStringLiteral("VER"), version);
        if (at.gateway == m_gateway && gear.listRow < m_rows.size()) {
            m_rows[gear.listRow].version = version;
            emit rowChanged(gear.listRow);
        }
        log(tr(QT_TRANSLATE_NOOP("GearList", " success.Version=")) + version
            + tr(QT_TRANSLATE_NOOP("GearList", " \r\n")));
        break;
    }
    default:
        break;
    }
    commandStepDone();
}

void GearList::commandTimeout(int tag)
{
    if (m_command == Command::None || m_commandSteps.isEmpty() || m_commandSteps.first() != tag)
        return;
    if (tag == PresenceCommand)
        markOffline(m_commandCurrent, true);
    commandStepDone();
}

// ---- helpers ----

QString GearList::label(const Gear &gear) const
{
    return trd(QT_TRANSLATE_NOOP("GearList", "M%dA%d")).arg(gear.gateway).arg(gear.address);
}

void GearList::log(const QString &text)
{
    m_ctx.log.appendPending(text);
    m_ctx.log.writePending();
}

}  // namespace lumaro
