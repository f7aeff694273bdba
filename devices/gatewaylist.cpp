#include "gatewaylist.h"

#include "clock.h"
#include "devicecontext.h"
#include "frame.h"
#include "gatewaylink.h"
#include "logsink.h"
#include "projectdata.h"
#include "projectstore.h"
#include "prompter.h"
#include "protocol.h"
#include "requesterid.h"
#include "softwaresettings.h"
#include "statuspoll.h"

#include <QCoreApplication>
#include <algorithm>
#include <initializer_list>

namespace lumaro {

namespace {
namespace reg = protocol::reg;
namespace flag = protocol::gatewayflag;

constexpr int kFirst = ProjectData::kFirstGateway;
constexpr int kLast = ProjectData::kLastGateway;
constexpr int kStatusByte = 4;          // data byte of a one-register read: address, function, count, high, low
constexpr int kNetworkFirstByte = 3;    // ten registers of network parameters follow the count
constexpr int kNetworkRegisters = 10;
constexpr int kClockFirstByte = 4;      // year; the register's high byte before it is always 0
constexpr int kClockRegisters = 4;
constexpr int kClockValues = 7;         // year, month, day, hour, minute, second, weekday
constexpr int kSequenceSlots = 4;
constexpr int kCommandMarginMs = 100;
constexpr uint16_t kRebootValue = 1;

const int kWidths[GatewayList::ColumnCount] = {80, 150, 150, 80, 80, 150, 200, 80, 80, 0};

// Firmware each model needs for what this program asks of it.
struct MinimumVersion {
    uint8_t model;
    int version;
};
constexpr MinimumVersion kMinimumVersions[] = {{0x79, 16}, {0x80, 16}, {0x83, 16}, {0x86, 1}};

QString translated(const char *source)
{
    return QCoreApplication::translate("CMyGatewayView", source);
}

// Fills the "%d" of a text in order; the texts are quoted with printf conversions.
QString withNumbers(QString text, std::initializer_list<int> numbers)
{
    for (const int n : numbers) {
        const qsizetype at = text.indexOf(QLatin1String("%d"));
        if (at < 0)
            break;
        text.replace(at, 2, QString::number(n));
    }
    return text;
}

uint8_t byteAt(const Frame &f, int i)
{
    return uint8_t(f.bytes()[i]);
}

// The frame carries data bytes up to `last` (counted from the address), before its checksum.
bool holds(const Frame &f, int last)
{
    return f.size() >= last + 1 + 2;
}

QString dotted(const Frame &f, int at)
{
    return QStringLiteral("%1.%2.%3.%4").arg(byteAt(f, at)).arg(byteAt(f, at + 1)).arg(byteAt(f, at + 2)).arg(byteAt(f, at + 3));
}

QString gatewayId(int g)
{
    return ProjectData::gatewaySection(g);
}
}  // namespace

GatewayList::GatewayList(DeviceContext &context, QObject *parent) : QObject(parent), m_ctx(context)
{
    m_ctx.link.registerRequester(requester::GatewayList, this);
}

GatewayList::~GatewayList()
{
    m_ctx.link.unregisterRequester(requester::GatewayList);
}

QStringList GatewayList::headings()
{
    return {translated(QT_TRANSLATE_NOOP("CMyGatewayView", "ID")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Name")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Model")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Status")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Version")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Location")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Net Connect")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Slave total")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Group total")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "DEV"))};
}

int GatewayList::columnWidth(int column)
{
    return column >= 0 && column < ColumnCount ? kWidths[column] : 0;
}

QString GatewayList::printTitle()
{
    return translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Gateway Device"));
}

QStringList GatewayList::printHeadings()
{
    return {translated(QT_TRANSLATE_NOOP("CMyGatewayView", "ID")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Name")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Model")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Version")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Slave total")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Group total")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Location")),
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Remark"))};
}

QList<QStringList> GatewayList::printRows() const
{
    QList<QStringList> out;
    for (const Row &r : m_rows)
        out.append({r.cells[Id], r.cells[Name], r.cells[Model], r.cells[Version], r.cells[SlaveTotal],
                    r.cells[GroupTotal], r.cells[Location], QString()});
    return out;
}

QString GatewayList::flagTexts(uint8_t flags)
{
    static const struct {
        uint8_t bit;
        const char *text;
    } kFlags[] = {
        {flag::Busy, QT_TRANSLATE_NOOP("CMyGatewayView", " /Busy")},
        {flag::Debug, QT_TRANSLATE_NOOP("CMyGatewayView", " /Debug")},
        {flag::ScanningBus, QT_TRANSLATE_NOOP("CMyGatewayView", " /Scan DALI gears")},
        {flag::BusLocked, QT_TRANSLATE_NOOP("CMyGatewayView", " /Lock DALI bus")},
        {flag::FireLinkage, QT_TRANSLATE_NOOP("CMyGatewayView", " /Fire fighting linkage")},
    };
    QString out;
    for (const auto &f : kFlags)
        if (flags & f.bit)
            out += translated(f.text);
    return out;
}

int GatewayList::longPauseTicks() const
{
    return m_ctx.settings.checkThreadCount * (1000 / kTickMs);
}

int GatewayList::rowOf(int gateway) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].gateway == gateway)
            return i;
    return -1;
}

void GatewayList::log(const QString &text)
{
    m_ctx.log.appendPending(text);
    m_ctx.log.writePending();
}

void GatewayList::setStatusCell(Row &row, bool offline, bool refresh) const
{
    if (!offline)
        row.cells[Status] = translated(QT_TRANSLATE_NOOP("CMyGatewayView", "OK"));
    else if (refresh)
        row.cells[Status] = translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Failure/Off line"));
    else
        row.cells[Status] = translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Failure"));
    row.statusColour = offline ? Colour::Red : Colour::Green;
}

void GatewayList::fill()
{
    m_rows.clear();
    m_pollIndex = kFirst;
    m_pollDelay = kFillDelayTicks;
    const ProjectStore &store = m_ctx.store;
    for (int g = kFirst; g <= kLast; ++g) {
        GatewayRecord &gw = m_ctx.data.gateway(g);
        const QString section = ProjectData::gatewaySection(g);
        gw.present = false;
        gw.listRow = GatewayRecord::kNotShown;
        if (!store.readSection(ProjectFile::Db, section))
            continue;
        gw.present = true;
        if (!gw.stateKnown)
            m_ctx.data.loadGatewayState(store, g);
        bool ok = false;
        const int model = store.read(ProjectFile::Db, section, QStringLiteral("MODEL")).toInt(&ok, 16);
        gw.model = ok && model >= 0 && model <= 0xFF ? uint8_t(model) : 0xFF;

        const auto key = [&](const char *k, const QString &def = QString()) {
            return store.read(ProjectFile::Db, section, QString::fromLatin1(k), def);
        };
        Row row;
        row.gateway = g;
        row.cells.resize(ColumnCount);
        row.cells[Id] = gatewayId(g);
        row.cells[Name] = key("NAME");
        row.cells[Model] = store.deviceTypeName(gw.model);
        setStatusCell(row, gw.status != GatewayRecord::Answering, false);
        row.cells[Version] = key("VER");
        row.cells[Location] = key("LOCATION");
        row.cells[NetConnect] = ProjectData::dottedAddress(key("GATEIP", QStringLiteral("0")).toUInt())
                                + u':' + key("GATEPORT", QStringLiteral("502"));
        row.netColour = gw.networkState == 1 ? Colour::Green : Colour::Grey;
        row.cells[SlaveTotal] = QString::number(gw.gearCount);
        row.cells[GroupTotal] = QString::number(gw.groupCount);
        row.cells[Dev] = QString::number(gw.model);
        gw.listRow = quint8(m_rows.size());
        m_rows.append(row);
    }
    m_firmwareCheckTicks = kFirmwareCheckTicks;
    emit rowsReset();
}

void GatewayList::refreshRow(int gateway)
{
    if (gateway < kFirst || gateway > kLast)
        return;
    const GatewayRecord &gw = m_ctx.data.gateway(gateway);
    const int row = gw.listRow;
    if (!gw.present || row == GatewayRecord::kNotShown || row >= m_rows.size())
        return;
    Row &r = m_rows[row];
    setStatusCell(r, gw.status != GatewayRecord::Answering, true);
    r.cells[NetConnect] = ProjectData::dottedAddress(gw.ipAddress) + u':' + QString::number(gw.ipPort);
    r.netColour = gw.networkState == 1 ? Colour::Green : Colour::Grey;
    emit rowChanged(row);
}

void GatewayList::firmwareCheck()
{
    QString list;
    for (const Row &r : m_rows) {
        const int dev = r.cells[Dev].toInt();
        for (const MinimumVersion &m : kMinimumVersions)
            if (dev == m.model && r.cells[Version].toInt() < m.version)
                list += r.cells[Id] + QStringLiteral("->") + QString::number(m.version) + u',';
    }
    if (list.isEmpty())
        return;
    m_ctx.prompter.warn(translated(QT_TRANSLATE_NOOP(
                                       "CMyGatewayView",
                                       "The software function upgrade, please upgrade %s gateway firmware(or above)!"))
                            .replace(QLatin1String("%s"), list));
}

void GatewayList::tick()
{
    if (m_firmwareCheckTicks > 0 && --m_firmwareCheckTicks == 0)
        firmwareCheck();
    if (m_command.state == CommandState::Waiting && m_command.waitTicks > 0 && --m_command.waitTicks == 0)
        nextCommandStep();
    if (m_pollDelay > 0)
        --m_pollDelay;
    if (m_pollDelay == 0)
        pollStep();
}

void GatewayList::pollStep()
{
    if (!m_ctx.poll.isEnabled()) {
        m_pollDelay = kRequestWaitTicks;
        return;
    }
    if (m_ctx.poll.isPaused() || m_ctx.link.isBusy())
        return;
    if (!m_pollAllowed) {
        m_pollDelay = kRequestWaitTicks;
        return;
    }
    if (m_pollIndex < kFirst || m_pollIndex > kLast)
        m_pollIndex = kFirst;
    if (!m_ctx.data.gateway(m_pollIndex).present) {
        while (m_pollIndex <= kLast && !m_ctx.data.gateway(m_pollIndex).present)
            ++m_pollIndex;
        if (m_pollIndex > kLast)
            m_pollDelay = longPauseTicks();
        return;
    }
    if (m_ctx.link.queuedCount() > 0) {
        m_pollDelay = kRingBusyTicks;
        return;
    }
    m_polled = m_pollIndex;
    m_polledAnswered = false;
    // The last gateway's answer starts the long pause anyway; without an answer it must not
    // start the next cycle early.
    m_pollDelay = m_pollIndex > kLast - 1 ? longPauseTicks() : kRequestWaitTicks;
    m_ctx.poll.suspend(kSuspendSeconds);
    m_ctx.link.send(requester::GatewayList, kPollTag, Frame::readRegisters(uint8_t(m_polled), reg::StatusFlags, 1),
                    m_ctx.settings.comTimeout,
                    gatewayId(m_polled) + translated(QT_TRANSLATE_NOOP("CMyGatewayView", " Check ... ")));
}

void GatewayList::advancePoll()
{
    m_pollDelay = 1;
    if (++m_pollIndex > kLast)
        m_pollDelay = longPauseTicks();
}

void GatewayList::setOffline(int gateway, bool offline)
{
    GatewayRecord &gw = m_ctx.data.gateway(gateway);
    gw.status = offline ? GatewayRecord::NotAnswering : GatewayRecord::Answering;
    gw.stateKnown = true;
    refreshRow(gateway);
}

void GatewayList::pollAnswered(const Frame &answer)
{
    GatewayRecord &gw = m_ctx.data.gateway(m_polled);
    gw.missCount = 0;
    setOffline(m_polled, false);
    m_polledAnswered = true;
    if (answer.isException())
        log(withNumbers(translated(QT_TRANSLATE_NOOP("CMyGatewayView", " Failure,Abnormal number=%d.\r\n")),
                        {answer.exceptionCode()}));
    else
        log(translated(QT_TRANSLATE_NOOP("CMyGatewayView", " OK.")) + flagTexts(byteAt(answer, kStatusByte))
            + QStringLiteral("\r\n"));
    advancePoll();
}

void GatewayList::pollMissed()
{
    log(translated(QT_TRANSLATE_NOOP("CMyGatewayView", " Time-out.\r\n")));
    if (m_polled < kFirst || m_polled > kLast)
        return;
    GatewayRecord &gw = m_ctx.data.gateway(m_polled);
    gw.missCount = quint8(std::min(gw.missCount + 1, kMissLimit));
    if (gw.missCount < kMissesToFail) {
        m_pollDelay = 1;
        return;
    }
    setOffline(m_polled, true);
    log(gatewayId(m_polled) + translated(QT_TRANSLATE_NOOP("CMyGatewayView", " Failure/Off line.\r\n")));
    advancePoll();
}

bool GatewayList::run(Command command, const QList<int> &rowIndexes)
{
    if (isCommandRunning())
        return false;
    QList<int> sorted = rowIndexes;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QList<int> gateways;
    for (const int i : sorted)
        if (i >= 0 && i < m_rows.size())
            gateways.append(m_rows[i].gateway);
    if (gateways.isEmpty())
        return false;
    m_command = {CommandState::Waiting, command, gateways, 0, 0, 0};
    nextCommandStep();
    return true;
}

void GatewayList::nextCommandStep()
{
    if (m_command.gateways.isEmpty()) {
        m_command = {};
        emit commandFinished();
        return;
    }
    const int g = m_command.gateways.takeFirst();
    m_command.gateway = g;
    m_command.waitTicks = (m_ctx.settings.comTimeout + kCommandMarginMs + kTickMs - 1) / kTickMs;
    const auto address = uint8_t(g);
    const auto text = [&](const char *source) { return withNumbers(translated(source), {g}); };

    int tag = 0;
    QByteArray request;
    QString description;
    switch (m_command.command) {
    case Command::CheckStatus:
        tag = kCheckStatusTag;
        request = Frame::readRegisters(address, reg::StatusFlags, 1);
        description = text(QT_TRANSLATE_NOOP("CMyGatewayView", "M%d Check status,"));
        break;
    case Command::ReadVersion:
        tag = kVersionTag;
        request = Frame::readRegisters(address, reg::Version, 1);
        description = text(QT_TRANSLATE_NOOP("CMyGatewayView", "M%d Read version,"));
        break;
    case Command::ReadNetworkParameters:
        tag = kNetworkTag;
        request = Frame::readRegisters(address, reg::NetworkParameters, kNetworkRegisters);
        description = text(QT_TRANSLATE_NOOP("CMyGatewayView", "M%d Read network parameters,"));
        break;
    case Command::Reboot:
        tag = kRebootTag;
        request = Frame::writeRegister(address, reg::Reboot, kRebootValue);
        description = text(QT_TRANSLATE_NOOP("CMyGatewayView", "M%dReboot device ... "));
        break;
    case Command::ReadControllerTime:
        tag = kReadClockTag;
        request = Frame::readRegisters(address, reg::Clock, kClockRegisters);
        description = text(QT_TRANSLATE_NOOP("CMyGatewayView", "M%d Read controller time,"));
        break;
    case Command::CalibrationTime: {
        tag = kCalibrationTag;
        const QDateTime now = m_ctx.clock.now();
        const QDate d = now.date();
        const QTime t = now.time();
        // The gateway counts weekdays from 0 = Sunday; Qt counts 1 = Monday .. 7 = Sunday.
        const int values[kClockValues] = {d.year() % 100, d.month(), d.day(), t.hour(), t.minute(), t.second(),
                                          d.dayOfWeek() % 7};
        QByteArray data(1, '\0');
        for (const int v : values)
            data.append(char(v));
        request = Frame::writeRegisters(address, reg::Clock, data);
        description = withNumbers(
            translated(QT_TRANSLATE_NOOP("CMyGatewayView", "M%d Calibration time %d-%d-%d %d:%d:%d W=%d,")),
            {g, values[0], values[1], values[2], values[3], values[4], values[5], values[6]});
        break;
    }
    case Command::ReadTimeControlStatus:
        tag = kTimingStateTag;
        request = Frame::readRegisters(address, reg::TimingState, 1);
        description = text(QT_TRANSLATE_NOOP("CMyGatewayView", "M%d Read time control status,"));
        break;
    }
    m_command.tag = tag;
    // A request that cannot be queued (no connection) still takes its full wait, as if it had
    // gone unanswered, so that the rows pass at the pace the user sees in the log.
    m_ctx.link.send(requester::GatewayList, tag, request, m_ctx.settings.comTimeout, description);
}

void GatewayList::onAnswer(int tag, const Frame &answer)
{
    if (tag == kPollTag) {
        if (m_polled != 0 && answer.address() == m_polled && (answer.isException() || holds(answer, kStatusByte))) {
            pollAnswered(answer);
        } else {
            log(translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Response failure.\r\n")));
            if (m_polled < kLast && m_pollDelay < kRequestWaitTicks + 1)
                m_pollDelay = 1;
        }
        return;
    }
    const bool current = m_command.state == CommandState::Waiting && tag == m_command.tag;
    if (current && answer.address() == m_command.gateway)
        commandAnswered(tag, answer);
    else
        log(translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Response failure.\r\n")));
    if (current)
        nextCommandStep();
}

void GatewayList::commandAnswered(int tag, const Frame &a)
{
    const int g = m_command.gateway;
    const QString ok = translated(QT_TRANSLATE_NOOP("CMyGatewayView", " OK."));
    const QString end = QStringLiteral(" \r\n");
    if (a.isException()) {
        log(withNumbers(translated(QT_TRANSLATE_NOOP("CMyGatewayView", " Failure,Abnormal number=%d.\r\n")),
                        {a.exceptionCode()}));
        return;
    }
    const auto failure = [&] { log(translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Response failure.\r\n"))); };

    switch (tag) {
    case kCheckStatusTag: {
        if (!holds(a, kStatusByte))
            return failure();
        m_ctx.data.gateway(g).missCount = 0;
        setOffline(g, false);
        log(ok + flagTexts(byteAt(a, kStatusByte)) + QStringLiteral("\r\n"));
        break;
    }
    case kVersionTag: {
        if (!holds(a, kStatusByte))
            return failure();
        const QString version = QString::number(byteAt(a, kStatusByte));
        const QString section = ProjectData::gatewaySection(g);
        if (m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("VER")) != version)
            m_ctx.store.writeThrough(ProjectFile::Db, section, QStringLiteral("VER"), version);
        if (const int row = rowOf(g); row >= 0) {
            m_rows[row].cells[Version] = version;
            emit rowChanged(row);
        }
        log(translated(QT_TRANSLATE_NOOP("CMyGatewayView", " OK.Version=")) + version + end);
        break;
    }
    case kNetworkTag: {
        constexpr int b = kNetworkFirstByte;
        if (!holds(a, b + 2 * kNetworkRegisters - 1))
            return failure();
        QStringList mac;
        for (int i = 0; i < 6; ++i)
            mac.append(QStringLiteral("%1").arg(byteAt(a, b + 14 + i), 2, 16, QLatin1Char('0')).toUpper());
        const int port = byteAt(a, b + 12) << 8 | byteAt(a, b + 13);
        log(ok + dotted(a, b) + QStringLiteral(" , ") + dotted(a, b + 4) + QStringLiteral(" , ") + dotted(a, b + 8)
            + QStringLiteral(" : ") + QString::number(port) + QStringLiteral(" , ") + mac.join(u'-') + end);
        break;
    }
    case kRebootTag:
        log(translated(QT_TRANSLATE_NOOP("CMyGatewayView", " OK.Please wait 1 minutes，device is being restarted"))
            + end);
        break;
    case kCalibrationTag:
        log(ok + end);
        break;
    case kReadClockTag: {
        constexpr int b = kClockFirstByte;
        if (!holds(a, b + kClockValues - 1))
            return failure();
        log(ok
            + withNumbers(QStringLiteral("%d-%d-%d %d:%d:%d W=%d"),
                          {byteAt(a, b), byteAt(a, b + 1), byteAt(a, b + 2), byteAt(a, b + 3), byteAt(a, b + 4),
                           byteAt(a, b + 5), byteAt(a, b + 6)})
            + end);
        break;
    }
    case kTimingStateTag: {
        if (!holds(a, kStatusByte))
            return failure();
        const uint8_t s = byteAt(a, kStatusByte);
        const auto onOff = [](bool on, const char *onText, const char *offText) {
            return translated(on ? onText : offText);
        };
        QString text = ok + translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Timing:"))
                       + onOff(s & 1, QT_TRANSLATE_NOOP("CMyGatewayView", "ON;  "), QT_TRANSLATE_NOOP("CMyGatewayView", "OFF; "))
                       + translated(QT_TRANSLATE_NOOP("CMyGatewayView", "Sequence"));
        for (int i = 1; i <= kSequenceSlots; ++i)
            text += withNumbers(QStringLiteral(" %d: "), {i})
                    + onOff(s & (1 << i), QT_TRANSLATE_NOOP("CMyGatewayView", "ON; "), QT_TRANSLATE_NOOP("CMyGatewayView", "OFF; "));
        log(text + end);
        break;
    }
    default:
        break;
    }
}

void GatewayList::onTimeout(int tag)
{
    if (tag == kPollTag) {
        pollMissed();
        return;
    }
    log(translated(QT_TRANSLATE_NOOP("CMyGatewayView", " Time-out.\r\n")));
    const bool current = m_command.state == CommandState::Waiting && tag == m_command.tag;
    if (!current)
        return;
    if (tag == kCheckStatusTag) {
        m_ctx.data.gateway(m_command.gateway).missCount = 0;
        setOffline(m_command.gateway, true);
    }
    nextCommandStep();
}

}  // namespace lumaro
