#include "statuspoll.h"

#include "dalicommand.h"
#include "frame.h"
#include "gatewaylink.h"
#include "logsink.h"
#include "projectdata.h"
#include "protocol.h"
#include "requesterid.h"
#include "softwaresettings.h"

#include <QCoreApplication>

namespace lumaro {

namespace {

namespace p = protocol;

constexpr uint16_t kPresenceRegisters = 1;
constexpr uint16_t kStatusLevelRegisters = 2;   // the status register, then the level register
// IEC 62386-102 status bits that mean the gear cannot give its light.
constexpr uint8_t kFailureBits = dali::status::ControlGearFailure | dali::status::LampFailure;

QString translated(const char *source)
{
    return QCoreApplication::translate("StatusPoll", source);
}

// The log texts keep the "%d" placeholders of their source text, and so do their translations;
// they are numbered after translation so that arg() fills them in order.
QString numbered(QString text)
{
    int n = 0;
    for (qsizetype at = text.indexOf(QLatin1String("%d")); at >= 0;
         at = text.indexOf(QLatin1String("%d"), at + 1))
        text.replace(at, 2, QLatin1Char('%') + QString::number(++n));
    return text;
}

}  // namespace

StatusPoll::StatusPoll(GatewayLink &link, ProjectData &data, LogSink &log,
                       const SoftwareSettings &settings, QObject *parent)
    : QObject(parent),
      m_link(link),
      m_data(data),
      m_log(log),
      m_answerWaitMs(settings.comTimeout),
      m_cyclePauseTicks(settings.allCheckThreadCount * kTicksPerMinute),
      m_noCheck(settings.statusPollPaused())
{
    // With status checking switched off in the settings the poll is paused from the start.
    m_data.bus.statusPollPaused = m_noCheck;
    m_link.registerRequester(requester::StatusPoll, this);
}

StatusPoll::~StatusPoll()
{
    m_link.unregisterRequester(requester::StatusPoll);
}

bool StatusPoll::isPaused() const
{
    return m_data.bus.statusPollPaused;
}

void StatusPoll::setEnabled(bool enabled)
{
    m_enabled = enabled;
}

void StatusPoll::suspend(int seconds)
{
    m_pollTimer = false;
    m_resumeCountdown = seconds;
    m_resumeTimer = true;
}

void StatusPoll::pause(int seconds)
{
    m_data.bus.statusPollPaused = true;
    m_pauseCountdown = seconds;
    m_pauseTimer = true;
}

void StatusPoll::resumeTick()
{
    if (!m_resumeTimer)
        return;
    if (m_resumeCountdown > 0)
        --m_resumeCountdown;
    if (m_resumeCountdown > 0)
        return;
    m_resumeTimer = false;
    m_pollTimer = true;
}

void StatusPoll::pauseTick()
{
    if (!m_pauseTimer)
        return;
    if (m_pauseCountdown > 0)
        --m_pauseCountdown;
    if (m_pauseCountdown > 0)
        return;
    m_pauseTimer = false;
    m_data.bus.statusPollPaused = m_noCheck;
}

void StatusPoll::pollTick()
{
    if (!m_pollTimer)
        return;
    if (m_pollCountdown > 0) {
        --m_pollCountdown;
        return;
    }
    step();
}

void StatusPoll::step()
{
    if (!m_enabled) {
        m_pollCountdown = kRequestWaitTicks;
        return;
    }
    // Paused, or a window's exchange in flight: the next tick tries again.
    if (isPaused() || m_link.isBusy())
        return;

    if (!gearPresent(m_cursor)) {
        // The walk stops at the next present gear; the next step polls it. A status query still
        // due belonged to a gear that has left the project: the next gear is checked first.
        m_next = Query::Presence;
        do {
            if (advanceCursor()) {
                m_pollCountdown = m_cyclePauseTicks;
                return;
            }
        } while (!gearPresent(m_cursor));
        return;
    }

    // Requests of the windows go first.
    if (m_link.queuedCount() > 0) {
        m_pollCountdown = kRingBusyTicks;
        return;
    }

    m_pollCountdown = kRequestWaitTicks;
    switch (m_next) {
    case Query::Presence:
        // The cursor stays: the status and level of this gear follow once it has answered.
        send(p::item::Presence, kPresenceRegisters, translated(QT_TRANSLATE_NOOP("StatusPoll", " Check gear ... ")));
        return;
    case Query::StatusLevel:
        // A refused request (the port was closed meanwhile) is asked again at the next step.
        if (!send(p::item::StatusLevel, kStatusLevelRegisters,
                  translated(QT_TRANSLATE_NOOP("StatusPoll", " Query volue and status... "))))
            return;
        m_next = Query::Presence;
        if (advanceCursor())
            m_pollCountdown = m_cyclePauseTicks;
        return;
    }
}

bool StatusPoll::send(int tag, uint16_t registerCount, const QString &what)
{
    m_polled = m_cursor;
    const QByteArray request =
        Frame::readRegisters(uint8_t(m_cursor.gateway),
                             p::reg::make(uint8_t(m_cursor.address), uint8_t(tag)), registerCount);
    return m_link.send(requester::StatusPoll, tag, request, m_answerWaitMs,
                       gearLabel(m_cursor) + what)
        == GatewayLink::SendResult::Queued;
}

// Every move of the cursor goes through here, so it always stands on a gateway index 0..16 and a
// short address 0..63. Returns true when it passed the last gateway: the cycle is complete and
// the next one starts at gateway 0.
bool StatusPoll::advanceCursor()
{
    if (++m_cursor.address < p::target::GearCount)
        return false;
    m_cursor.address = 0;
    if (++m_cursor.gateway <= ProjectData::kLastGateway)
        return false;
    m_cursor.gateway = 0;
    return true;
}

bool StatusPoll::gearPresent(const GearIndex &at) const
{
    return m_data.gear(at.gateway, at.address).present;
}

void StatusPoll::onAnswer(int tag, const Frame &answer)
{
    // Only an answer of the polled gateway may change its records.
    if (answer.address() == m_polled.gateway) {
        if (answer.isException()) {
            gearDidNotAnswer(tag);
            return;
        }
        if (answer.function() == p::function::ReadRegisters) {
            if (tag == p::item::Presence) {
                presenceAnswered();
                return;
            }
            // An answer without the level register would leave the checksum as the level.
            if (tag == p::item::StatusLevel && answer.answerRegister(1)) {
                statusLevelAnswered(answer);
                return;
            }
        }
    }
    responseError(tag);
}

void StatusPoll::onTimeout(int tag)
{
    log(translated(QT_TRANSLATE_NOOP("StatusPoll", " Gateway response time-out.\r\n")));
    if (tag == p::item::Presence)
        presenceMissed(false);
    else if (tag == p::item::StatusLevel)
        statusLevelMissed(false);
}

void StatusPoll::presenceAnswered()
{
    GearRecord &gear = m_data.gear(m_polled.gateway, m_polled.address);
    gear.missCount = 0;
    gear.status = GearRecord::Answering;
    gear.stateKnown = true;
    setGatewayStatus(GatewayRecord::Answering);
    emit gearStateChanged(m_polled.gateway, m_polled.address);
    m_next = Query::StatusLevel;
    log(translated(QT_TRANSLATE_NOOP("StatusPoll", " OK.\r\n")));
    if (m_polled.address < p::target::LastShortAddress)
        m_pollCountdown = 1;
}

void StatusPoll::statusLevelAnswered(const Frame &answer)
{
    const auto status = uint8_t(*answer.answerRegister(0) & 0xFF);
    const auto level = uint8_t(*answer.answerRegister(1) & 0xFF);
    GearRecord &gear = m_data.gear(m_polled.gateway, m_polled.address);
    gear.stateKnown = true;
    gear.level = level;
    QString text = translated(QT_TRANSLATE_NOOP("StatusPoll", " success.")) + numbered(translated(QT_TRANSLATE_NOOP("StatusPoll", " Volue=%d"))).arg(level);
    if (status & kFailureBits) {
        gear.status = GearRecord::LampFailure;
        text += translated(QT_TRANSLATE_NOOP("StatusPoll", ", Status=Failure."));
    } else {
        gear.status = GearRecord::Answering;
        text += translated(QT_TRANSLATE_NOOP("StatusPoll", ", Status=OK."));
    }
    emit gearStateChanged(m_polled.gateway, m_polled.address);
    log(text + translated(QT_TRANSLATE_NOOP("StatusPoll", " \r\n")));
    afterStatusLevel();
}

void StatusPoll::gearDidNotAnswer(int tag)
{
    log(translated(QT_TRANSLATE_NOOP("StatusPoll", " Slave time-out.\r\n")));
    if (tag == p::item::Presence)
        presenceMissed(true);
    else if (tag == p::item::StatusLevel)
        statusLevelMissed(true);
}

void StatusPoll::presenceMissed(bool gatewayAnswered)
{
    GearRecord &gear = m_data.gear(m_polled.gateway, m_polled.address);
    if (gear.missCount < kMissLimit)
        ++gear.missCount;
    // After an exception answer the check is repeated at once, except for the last address of a
    // bus; after a time-out always.
    const bool repeatSoon = !gatewayAnswered || m_polled.address < p::target::LastShortAddress;
    if (gear.missCount < kMissesToFail) {
        if (repeatSoon)
            m_pollCountdown = 1;
        return;
    }

    // An exception answer came from the gateway, so only the gear is silent; a time-out means
    // the gateway itself did not answer.
    setGatewayStatus(gatewayAnswered ? GatewayRecord::Answering : GatewayRecord::NotAnswering);
    gear.status = GearRecord::NotAnswering;
    gear.level = 0;
    gear.stateKnown = true;
    emit gearStateChanged(m_polled.gateway, m_polled.address);
    log(gearLabel(m_polled) + translated(QT_TRANSLATE_NOOP("StatusPoll", " Failure.\r\n")));
    if (advanceCursor())
        m_pollCountdown = m_cyclePauseTicks;
    else if (repeatSoon)
        m_pollCountdown = 1;
}

void StatusPoll::statusLevelMissed(bool gatewayAnswered)
{
    GearRecord &gear = m_data.gear(m_polled.gateway, m_polled.address);
    gear.level = 0;
    gear.stateKnown = true;
    emit gearStateChanged(m_polled.gateway, m_polled.address);
    if (gatewayAnswered)
        log(gearLabel(m_polled) + translated(QT_TRANSLATE_NOOP("StatusPoll", " Failure.\r\n")));
    afterStatusLevel();
}

void StatusPoll::afterStatusLevel()
{
    // The cursor moved on when the request left; past the last gateway the countdown already
    // holds the cycle pause, which only the last address of a bus can reach.
    if (m_polled.address < p::target::LastShortAddress)
        m_pollCountdown = 1;
}

void StatusPoll::responseError(int tag)
{
    log(translated(QT_TRANSLATE_NOOP("StatusPoll", "Response error.\r\n")));
    // Ask again soon, but never cut a cycle pause short.
    if ((tag == p::item::Presence || tag == p::item::StatusLevel)
        && m_pollCountdown <= kRequestWaitTicks)
        m_pollCountdown = 1;
}

void StatusPoll::setGatewayStatus(quint8 status)
{
    // The poll's finding is saved at exit like a status loaded from the store.
    GatewayRecord &gateway = m_data.gateway(m_polled.gateway);
    gateway.status = status;
    gateway.stateKnown = true;
    emit gatewayStateChanged(m_polled.gateway);
}

QString StatusPoll::gearLabel(const GearIndex &gear) const
{
    return numbered(translated(QT_TRANSLATE_NOOP("StatusPoll", "M%dA%d"))).arg(gear.gateway).arg(gear.address);
}

void StatusPoll::log(const QString &text)
{
    m_log.appendPending(text);
    m_log.writePending();
}

}  // namespace lumaro
