#pragma once

#include "linetiming.h"
#include "requestassembler.h"
#include "simline.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <deque>

class QSocketNotifier;
class QTimer;

namespace lumaro::sim {

class PseudoTerminal;

// Serves a simulated line in real time on a pseudo-terminal: collects the request bytes, cuts
// them into frames, has the SimLine carry them out at once, and sends each answer when a real
// gateway's answer would have arrived (processing time, bus frames, line time at the configured
// baud rate, the extra delay of the faults). Simulated time follows the wall clock.
class GatewayServer : public QObject
{
    Q_OBJECT
public:
    GatewayServer(PseudoTerminal &terminal, SimLine &line, const LineTiming &settings, bool verbose,
                  QObject *parent = nullptr);

    // Starts watching the terminal; false when it is not open.
    bool start();

private:
    struct PendingAnswer {
        QByteArray bytes;
        qint64 dueMs;
    };

    void readTerminal();
    void serve(const QList<QByteArray> &requests);
    void armGapTimer();
    void sendDueAnswers();
    void flushOutput();
    void advanceTime();
    void trace(const char *direction, const QByteArray &bytes) const;

    PseudoTerminal &m_terminal;
    SimLine &m_line;
    LineTiming m_settings;
    bool m_verbose;
    RequestAssembler m_assembler;
    QElapsedTimer m_clock;
    qint64 m_simulatedMs = 0;
    std::deque<PendingAnswer> m_pending;
    QByteArray m_output;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer *m_gapTimer = nullptr;
    QTimer *m_answerTimer = nullptr;
    QTimer *m_hangUpRetry = nullptr;
    QTimer *m_timeTick = nullptr;
};

}  // namespace lumaro::sim
