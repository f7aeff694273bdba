#pragma once

#include "requester.h"

#include <QObject>
#include <QString>
#include <cstdint>

namespace lumaro {

class Frame;
class GatewayLink;
class LogSink;
class ProjectData;
struct SoftwareSettings;

// The background status poll: while the program runs it walks over every present gear of every
// gateway, checks that the gear answers and reads its status and actual level, and keeps the
// gear and gateway records of the project data current. It is requester 128 of the link and
// sends only while the link is idle and its ring is empty, so a window's request waits at most
// one exchange behind it.
//
// The main window drives it with three timers, all running for the whole program: pollTick()
// every 100 ms, resumeTick() and pauseTick() every second. The poll keeps whether each of its
// "timers" is running and ignores the ticks of a stopped one, so the start and stop rules live
// here and not in the window. Windows with long exchanges suspend or pause it, and modal dialogs
// that talk to gateways disable it while they are open. The link must outlive the poll.
class StatusPoll final : public QObject, public Requester
{
    Q_OBJECT
public:
    static constexpr int kInitialResumeCountdown = 1;  // the poll timer runs one second after start
    static constexpr int kInitialPollCountdown = 20;   // the first step two seconds after that
    static constexpr int kInitialPauseCountdown = 1;
    static constexpr int kRequestWaitTicks = 30;       // after each request, and while disabled
    static constexpr int kRingBusyTicks = 10;          // another requester's requests are queued
    static constexpr int kTicksPerMinute = 600;        // of the 100 ms poll tick
    static constexpr int kMissesToFail = 2;            // missed presence checks in a row
    static constexpr int kMissLimit = 250;

    StatusPoll(GatewayLink &link, ProjectData &data, LogSink &log,
               const SoftwareSettings &settings, QObject *parent = nullptr);
    ~StatusPoll() override;

    // Timer 12 (100 ms): one poll step, or one tick less of the poll countdown.
    void pollTick();
    // Timer 13 (1 s): counts the resume countdown down and starts the poll timer at 0.
    void resumeTick();
    // Timer 14 (1 s): counts the pause countdown down; at 0 the paused flag follows NOCHECKFLAG.
    void pauseTick();

    // Stops the poll timer and starts it again after `seconds` resume ticks.
    void suspend(int seconds);
    // Sets the paused flag at once; after `seconds` pause ticks it follows NOCHECKFLAG again.
    void pause(int seconds);
    // Cleared while a modal dialog that talks to gateways is open.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // The paused flag lives in the bus record of the project data, where the lists read it.
    bool isPaused() const;

    bool isPollTimerRunning() const { return m_pollTimer; }
    bool isResumeTimerRunning() const { return m_resumeTimer; }
    bool isPauseTimerRunning() const { return m_pauseTimer; }
    int pollCountdown() const { return m_pollCountdown; }
    int resumeCountdown() const { return m_resumeCountdown; }
    int pauseCountdown() const { return m_pauseCountdown; }
    // The pause between two complete cycles, in poll ticks.
    int cyclePauseTicks() const { return m_cyclePauseTicks; }
    // The next gear to poll: gateway index 0..16, short address 0..63.
    int cursorGateway() const { return m_cursor.gateway; }
    int cursorAddress() const { return m_cursor.address; }

    void onAnswer(int tag, const Frame &answer) override;
    void onTimeout(int tag) override;

signals:
    // The poll changed what the gear list and the gateway list show for this gear or gateway.
    void gearStateChanged(int gateway, int address);
    void gatewayStateChanged(int gateway);

private:
    struct GearIndex {
        int gateway = 0;
        int address = 0;
    };
    // What the next request for the gear at the cursor asks.
    enum class Query { Presence, StatusLevel };

    void step();
    bool send(int tag, uint16_t registerCount, const QString &what);
    bool advanceCursor();
    bool gearPresent(const GearIndex &at) const;

    void presenceAnswered();
    void statusLevelAnswered(const Frame &answer);
    void gearDidNotAnswer(int tag);
    void presenceMissed(bool gatewayAnswered);
    void statusLevelMissed(bool gatewayAnswered);
    void responseError(int tag);
    void afterStatusLevel();
    void setGatewayStatus(quint8 status);

    QString gearLabel(const GearIndex &gear) const;
    void log(const QString &text);

    GatewayLink &m_link;
    ProjectData &m_data;
    LogSink &m_log;
    int m_answerWaitMs;
    int m_cyclePauseTicks;
    bool m_noCheck;   // NOCHECKFLAG asks for the poll to stay paused

    bool m_enabled = true;
    bool m_pollTimer = false;
    bool m_resumeTimer = true;   // started at start-up
    bool m_pauseTimer = false;
    int m_pollCountdown = kInitialPollCountdown;
    int m_resumeCountdown = kInitialResumeCountdown;
    int m_pauseCountdown = kInitialPauseCountdown;

    GearIndex m_cursor;
    GearIndex m_polled;
    Query m_next = Query::Presence;
};

}  // namespace lumaro
