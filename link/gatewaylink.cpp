#include "gatewaylink.h"

#include "logsink.h"
#include "prompter.h"
#include "requester.h"
#include "requesterid.h"
#include "transport.h"

#include <QCoreApplication>

namespace lumaro {

GatewayLink::GatewayLink(LogSink &log, Prompter &prompter, QObject *parent)
    : QObject(parent), m_log(log), m_prompter(prompter)
{
    m_receiveBuffer.reserve(kReceiveCapacity);
}

GatewayLink::~GatewayLink() = default;

void GatewayLink::setTransport(Transport *transport)
{
    if (m_transport)
        disconnect(m_transport, nullptr, this, nullptr);
    m_transport = transport;
    if (m_transport)
        connect(m_transport, &Transport::bytesArrived, this, &GatewayLink::receive);
}

bool GatewayLink::open()
{
    if (!m_transport)
        return false;
    if (!m_transport->isOpen() && !m_transport->open())
        return false;
    clearState();
    emit opened();
    return true;
}

void GatewayLink::close()
{
    clearState();
    if (m_transport && m_transport->isOpen())
        m_transport->close();
    emit closed();
}

bool GatewayLink::isOpen() const
{
    return m_transport && m_transport->isOpen();
}

void GatewayLink::clearState()
{
    for (Slot &s : m_ring)
        s = Slot();
    m_writeIndex = m_readIndex = m_count = 0;
    m_currentRequester = m_currentTag = 0;
    m_busy = false;
    m_waitCountdown = 0;
    m_answerExpected = false;
    m_receiveBuffer.clear();
    m_silence = 0;
    m_receiving = false;
    setTickingNeeded(false);
}

GatewayLink::SendResult GatewayLink::send(int requesterId, int tag, QByteArrayView payload,
                                          int answerWaitMs, const QString &description)
{
    if (payload.size() + 2 > protocol::kMaxFrame)
        return SendResult::TooLong;
    if (!isOpen())
        return SendResult::PortClosed;
    if (payload.isEmpty() || uint8_t(payload[0]) > protocol::kMaxGatewayAddress)
        return SendResult::BadAddress;
    // The ring turns a request away without a word when it is full; the caller learns it from
    // the result (a full ring is not a success).
    if (m_count >= kRingSlots)
        return SendResult::RingFull;

    Slot &slot = m_ring[m_writeIndex];
    slot.frame = Frame::withChecksum(payload).bytes();
    slot.requester = requesterId;
    slot.tag = tag;
    slot.answerWaitMs = uint8_t(payload[0]) == protocol::kAllGateways ? 0 : answerWaitMs;
    slot.description = description.left(kDescriptionLimit);
    m_writeIndex = uint8_t((m_writeIndex + 1) % kRingSlots);
    ++m_count;
    setTickingNeeded(true);
    return SendResult::Queued;
}

GatewayLink::SendResult GatewayLink::sendWithNotice(int requesterId, int tag,
                                                    QByteArrayView payload, int answerWaitMs,
                                                    const QString &description)
{
    if (payload.size() + 2 > protocol::kMaxFrame)
        return SendResult::TooLong;
    if (!isOpen()) {
        m_prompter.ask(Prompter::Icon::Warning, Prompter::Buttons::OkCancel,
                       QCoreApplication::translate("GatewayLink",
                                                   "Failure,Please open the serial port first."));
        return SendResult::PortClosed;
    }
    return send(requesterId, tag, payload, answerWaitMs, description);
}

void GatewayLink::registerRequester(int id, Requester *requester)
{
    m_requesters.insert(id, requester);
}

void GatewayLink::unregisterRequester(int id)
{
    m_requesters.remove(id);
}

void GatewayLink::receive(const QByteArray &bytes)
{
    if (!m_receiving) {
        m_receiving = true;
        m_receiveBuffer.clear();
    }
    const qsizetype room = kReceiveCapacity - m_receiveBuffer.size();
    m_receiveBuffer.append(bytes.constData(), qMin(room, bytes.size()));
    m_silence = 0;
    setTickingNeeded(true);
}

bool GatewayLink::isIdle() const
{
    return m_count == 0 && !m_busy && m_waitCountdown == 0 && !m_receiving;
}

void GatewayLink::setTickingNeeded(bool needed)
{
    if (needed == m_tickingNeeded)
        return;
    m_tickingNeeded = needed;
    emit tickingNeeded(needed);
}

void GatewayLink::tick()
{
    if (m_transport)
        m_transport->tick();
    ++m_silence;
    if (m_receiving && m_silence >= kSilentTicks) {
        m_receiving = false;
        takeAnswer();
    }
    transmitStep();
    if (isIdle())
        setTickingNeeded(false);
}

void GatewayLink::takeAnswer()
{
    if (m_transport)
        m_transport->discardInput();
    const QByteArray bytes = m_receiveBuffer;
    m_receiveBuffer.clear();
    // Too short, too long or damaged: the request in flight stays in flight and times out.
    const Frame frame = Frame::parse(bytes);
    if (!frame.isValid())
        return;

    routeAnswer(frame);
    m_currentRequester = m_currentTag = 0;
    m_waitCountdown = 0;
    m_busy = false;
}

void GatewayLink::routeAnswer(const Frame &frame)
{
    const auto known = requester::info(m_currentRequester);
    if (!known || known->id == requester::Generic) {
        logGeneric(frame);
        return;
    }
    // A window that is closed (or a page not yet created) gets nothing.
    if (Requester *r = m_requesters.value(m_currentRequester))
        r->onAnswer(m_currentTag, frame);
}

void GatewayLink::logGeneric(const Frame &frame)
{
    if (frame.isException())
        m_log.appendPending(QCoreApplication::translate("GatewayLink",
                                                        "Failure,Abnormal number=%d.\r\n")
                                .replace(QLatin1String("%d"), QString::number(frame.exceptionCode())));
    else
        m_log.appendPending(QCoreApplication::translate("GatewayLink", "OK.\r\n"));
    m_log.writePending();
}

void GatewayLink::transmitStep()
{
    if (m_waitCountdown != 0) {
        if (--m_waitCountdown == 0) {
            if (m_answerExpected)
                timeOut();
            m_busy = false;
        }
        return;
    }
    if (!isOpen() || m_count == 0)
        return;

    Slot &slot = m_ring[m_readIndex];
    m_currentRequester = slot.requester;
    m_currentTag = slot.tag;
    m_transport->write(slot.frame);
    m_busy = true;
    m_log.appendPending(slot.description);
    const int waitTicks = slot.answerWaitMs / kTickMs;
    slot = Slot();
    m_readIndex = uint8_t((m_readIndex + 1) % kRingSlots);
    --m_count;

    m_log.writePending();

    // A wait shorter than one tick cannot be counted: it is a request without answer.
    if (waitTicks > 0) {
        m_waitCountdown = waitTicks;
        m_answerExpected = true;
    } else {
        m_waitCountdown = kNoAnswerGapTicks;
        m_answerExpected = false;
    }
}

void GatewayLink::timeOut()
{
    m_log.writePending();
    const auto known = requester::info(m_currentRequester);
    Requester *r = known ? m_requesters.value(m_currentRequester) : nullptr;
    const bool generic = !known || known->id == requester::Generic;
    if (r && known->ownTimeout) {
        r->onTimeout(m_currentTag);
    } else if (generic || r) {
        m_log.appendPending(QCoreApplication::translate("GatewayLink", "Time-out.\r\n"));
        m_log.writePending();
    }
    m_currentRequester = m_currentTag = 0;
}

}  // namespace lumaro
