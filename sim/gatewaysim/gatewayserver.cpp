#include "gatewayserver.h"

#include "pseudoterminal.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

namespace lumaro::sim {

namespace {
// While no client has the device open the master side may report hang-up over and over; look
// again this often instead of spinning on the notifier.
constexpr int kHangUpRetryMs = 100;
// Simulated time (fades) follows the wall clock in steps of this size.
constexpr int kTimeTickMs = 20;
}  // namespace

GatewayServer::GatewayServer(PseudoTerminal &terminal, SimLine &line, const LineTiming &settings, bool verbose,
                             QObject *parent)
    : QObject(parent),
      m_terminal(terminal),
      m_line(line),
      m_settings(settings),
      m_verbose(verbose),
      m_assembler(settings.silenceGapMs())
{
}

bool GatewayServer::start()
{
    if (m_terminal.masterDescriptor() < 0)
        return false;
    m_clock.start();

    m_readNotifier = new QSocketNotifier(m_terminal.masterDescriptor(), QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &GatewayServer::readTerminal);
    m_writeNotifier = new QSocketNotifier(m_terminal.masterDescriptor(), QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &GatewayServer::flushOutput);

    m_gapTimer = new QTimer(this);
    m_gapTimer->setSingleShot(true);
    m_gapTimer->setTimerType(Qt::PreciseTimer);
    connect(m_gapTimer, &QTimer::timeout, this, [this] {
        serve(m_assembler.idle(m_clock.elapsed()));
        armGapTimer();
    });

    m_answerTimer = new QTimer(this);
    m_answerTimer->setSingleShot(true);
    m_answerTimer->setTimerType(Qt::PreciseTimer);
    connect(m_answerTimer, &QTimer::timeout, this, &GatewayServer::sendDueAnswers);

    m_hangUpRetry = new QTimer(this);
    m_hangUpRetry->setSingleShot(true);
    m_hangUpRetry->setInterval(kHangUpRetryMs);
    connect(m_hangUpRetry, &QTimer::timeout, this, [this] { m_readNotifier->setEnabled(true); });

    m_timeTick = new QTimer(this);
    m_timeTick->setInterval(kTimeTickMs);
    connect(m_timeTick, &QTimer::timeout, this, &GatewayServer::advanceTime);
    m_timeTick->start();
    return true;
}

void GatewayServer::readTerminal()
{
    char buffer[512];
    for (;;) {
        const qint64 n = m_terminal.read(buffer, sizeof buffer);
        if (n > 0) {
            serve(m_assembler.feed(QByteArrayView(buffer, n), m_clock.elapsed()));
            continue;
        }
        if (n < 0) {
            // Hang-up: wait for a client quietly; a real error is reported once and handled the
            // same way, so that the simulator stays up.
            if (!m_terminal.hungUp())
                std::fprintf(stderr, "%s\n", qPrintable(m_terminal.errorString()));
            m_readNotifier->setEnabled(false);
            m_hangUpRetry->start();
        }
        break;
    }
    armGapTimer();
}

void GatewayServer::armGapTimer()
{
    if (!m_assembler.hasPartial()) {
        m_gapTimer->stop();
        return;
    }
    m_gapTimer->start(int(qMax<qint64>(0, m_assembler.gapEndsAt() - m_clock.elapsed())));
}

void GatewayServer::serve(const QList<QByteArray> &requests)
{
    if (requests.isEmpty())
        return;
    // Bring fades up to date, so that a request sees the levels of this moment.
    advanceTime();
    const qint64 now = m_simulatedMs;
    for (const QByteArray &request : requests) {
        trace("<-", request);
        const SimLine::Exchange exchange = m_line.exchange(request);
        if (exchange.answer.isEmpty())
            continue;
        const int delay = m_settings.answerDelayMs(int(request.size()), int(exchange.answer.size()),
                                                   exchange.busFrames, m_line.faults().extraDelayMs);
        // One line, one talker: an answer never overtakes the one before it.
        qint64 due = now + delay;
        if (!m_pending.empty())
            due = qMax(due, m_pending.back().dueMs);
        m_pending.push_back({exchange.answer, due});
    }
    if (!m_pending.empty() && !m_answerTimer->isActive())
        m_answerTimer->start(int(qMax<qint64>(0, m_pending.front().dueMs - now)));
}

void GatewayServer::sendDueAnswers()
{
    const qint64 now = m_clock.elapsed();
    while (!m_pending.empty() && m_pending.front().dueMs <= now) {
        trace("->", m_pending.front().bytes);
        m_output.append(m_pending.front().bytes);
        m_pending.pop_front();
    }
    flushOutput();
    if (!m_pending.empty())
        m_answerTimer->start(int(qMax<qint64>(0, m_pending.front().dueMs - now)));
}

void GatewayServer::flushOutput()
{
    while (!m_output.isEmpty()) {
        const qint64 n = m_terminal.write(m_output.constData(), m_output.size());
        if (n <= 0)
            break;
        m_output.remove(0, n);
    }
    // The terminal's queue is full (a client that does not read): go on when it takes more.
    m_writeNotifier->setEnabled(!m_output.isEmpty());
}

void GatewayServer::advanceTime()
{
    const qint64 now = m_clock.elapsed();
    m_line.advance(int(now - m_simulatedMs));
    m_simulatedMs = now;
}

void GatewayServer::trace(const char *direction, const QByteArray &bytes) const
{
    if (m_verbose)
        std::fprintf(stderr, "%s %s\n", direction, bytes.toHex(' ').constData());
}

}  // namespace lumaro::sim
