#pragma once

#include "frame.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

namespace lumaro {

class LogSink;
class Prompter;
class Requester;
class Transport;

// The one link between the program and the gateways on the RS485 line: a 32-slot transmit ring,
// one request in flight at a time, answers recognised by three silent ticks, and routing of each
// answer or time-out back to the requester that asked. Driven by tick() every 10 ms (the main
// window wires a timer to it; tests call it). Lives on the user-interface thread; the transport
// delivers received bytes there too, so nothing here needs a lock.
class GatewayLink : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRingSlots = 32;
    static constexpr int kReceiveCapacity = 250;
    static constexpr int kDescriptionLimit = 99;
    static constexpr int kTickMs = 10;
    static constexpr int kSilentTicks = 3;        // an answer is complete after 20..30 ms of silence
    static constexpr int kNoAnswerGapTicks = 10;  // the line stays quiet 100 ms after a frame without answer

    enum class SendResult {
        Queued,
        TooLong,       // more than 126 bytes before the checksum
        BadAddress,    // gateway address above 16
        PortClosed,
        RingFull,      // 32 requests already queued
    };

    GatewayLink(LogSink &log, Prompter &prompter, QObject *parent = nullptr);
    ~GatewayLink() override;

    // The transport is not owned. Set it before open().
    void setTransport(Transport *transport);
    Transport *transport() const { return m_transport; }

    bool open();
    void close();
    bool isOpen() const;

    // Queues one request. `payload` is address, function and data without the checksum. A request
    // to all gateways (address 0) never waits for an answer. Refusals leave nothing logged.
    SendResult send(int requesterId, int tag, QByteArrayView payload, int answerWaitMs,
                    const QString &description);
    // The same for dialogs: a closed port is also told to the user.
    SendResult sendWithNotice(int requesterId, int tag, QByteArrayView payload, int answerWaitMs,
                              const QString &description);

    void registerRequester(int id, Requester *requester);
    void unregisterRequester(int id);

    void tick();

    int queuedCount() const { return m_count; }
    bool isBusy() const { return m_busy; }
    // Nothing queued, nothing in flight, nothing being received: a tick would change nothing.
    bool isIdle() const;
    int currentRequester() const { return m_currentRequester; }

signals:
    void opened();
    void closed();
    // The link has work for its ticks again (a request queued, bytes arriving), or has none
    // left. The program stops its 10 ms timer while the line is quiet.
    void tickingNeeded(bool needed);

private:
    struct Slot {
        QByteArray frame;
        int requester = 0;
        int tag = 0;
        int answerWaitMs = 0;
        QString description;
    };

    void clearState();
    void setTickingNeeded(bool needed);
    void receive(const QByteArray &bytes);
    void takeAnswer();
    void transmitStep();
    void timeOut();
    void routeAnswer(const Frame &frame);
    void logGeneric(const Frame &frame);

    LogSink &m_log;
    Prompter &m_prompter;
    Transport *m_transport = nullptr;
    QHash<int, Requester *> m_requesters;

    std::array<Slot, kRingSlots> m_ring;
    uint8_t m_writeIndex = 0;
    uint8_t m_readIndex = 0;
    uint8_t m_count = 0;

    int m_currentRequester = 0;
    int m_currentTag = 0;
    bool m_busy = false;
    int m_waitCountdown = 0;
    bool m_answerExpected = false;

    QByteArray m_receiveBuffer;
    int m_silence = 0;
    bool m_receiving = false;
    bool m_tickingNeeded = false;
};

}  // namespace lumaro
