#include "inprocesstransport.h"

#include "gatewaylink.h"
#include "simline.h"

namespace lumaro {

InProcessTransport::InProcessTransport(sim::SimLine &line, int answerDelayTicks, QObject *parent)
    : Transport(parent), m_line(line), m_delay(answerDelayTicks)
{
}

bool InProcessTransport::open()
{
    m_open = true;
    m_pending.clear();
    m_written.clear();
    return true;
}

void InProcessTransport::close()
{
    m_open = false;
    m_pending.clear();
}

bool InProcessTransport::write(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    m_written.append(bytes);
    QByteArray answer = m_line.handleRequest(bytes);
    if (!answer.isEmpty())
        m_pending.append({std::move(answer), m_delay});
    return true;
}

void InProcessTransport::tick()
{
    m_line.advance(GatewayLink::kTickMs);
    for (qsizetype i = 0; i < m_pending.size();) {
        if (--m_pending[i].ticksLeft <= 0) {
            const QByteArray answer = m_pending.takeAt(i).answer;
            if (m_open)
                emit bytesArrived(answer);
        } else {
            ++i;
        }
    }
}

}  // namespace lumaro
