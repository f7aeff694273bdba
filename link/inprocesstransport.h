#pragma once

#include "transport.h"

#include <QList>

namespace lumaro {
namespace sim { class SimLine; }

// Connects the link to a simulated line inside the process, for deterministic tests and for
// preparing a project without hardware. Each answer arrives a fixed number of link ticks after its
// request was written; every tick lets 10 ms of simulated time pass on the line.
class InProcessTransport final : public Transport
{
    Q_OBJECT
public:
    explicit InProcessTransport(sim::SimLine &line, int answerDelayTicks = 2, QObject *parent = nullptr);

    void setAnswerDelayTicks(int ticks) { m_delay = ticks; }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &bytes) override;
    void tick() override;

    // Every frame written since the transport was opened, for tests that check what left.
    const QList<QByteArray> &written() const { return m_written; }
    void clearWritten() { m_written.clear(); }

private:
    struct Pending {
        QByteArray answer;
        int ticksLeft;
    };

    sim::SimLine &m_line;
    int m_delay;
    bool m_open = false;
    QList<Pending> m_pending;
    QList<QByteArray> m_written;
};

}  // namespace lumaro
