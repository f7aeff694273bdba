#include "requestassembler.h"

#include "protocol.h"

namespace lumaro::sim {

namespace {
constexpr int kFixedRequest = 8;        // 0x43 and 0x46: 6 bytes and the checksum
constexpr int kWriteSeveralHeader = 7;  // 0x50 up to and with its byte count
}  // namespace

int RequestAssembler::expectedLength() const
{
    if (m_buffer.size() < 2)
        return 0;
    switch (uint8_t(m_buffer[1])) {
    case protocol::function::ReadRegisters:
    case protocol::function::WriteRegister:
        return kFixedRequest;
    case protocol::function::WriteRegisters: {
        if (m_buffer.size() < kWriteSeveralHeader)
            return 0;
        const int length = kWriteSeveralHeader + uint8_t(m_buffer[kWriteSeveralHeader - 1]) + 2;
        // A byte count that no frame can carry is garbage: let the gap end it.
        return length <= protocol::kMaxFrame ? length : -1;
    }
    default:
        return -1;
    }
}

void RequestAssembler::cutComplete(QList<QByteArray> &out)
{
    for (;;) {
        const int length = expectedLength();
        if (length <= 0 || m_buffer.size() < length)
            break;
        out.append(m_buffer.left(length));
        m_buffer.remove(0, length);
    }
    // Nothing longer than a frame can be a request; keep the memory bounded under garbage.
    if (m_buffer.size() > protocol::kMaxFrame) {
        m_dropped += m_buffer.size();
        m_buffer.clear();
    }
}

QList<QByteArray> RequestAssembler::feed(QByteArrayView bytes, qint64 nowMs)
{
    QList<QByteArray> out = idle(nowMs);
    if (bytes.isEmpty())
        return out;
    m_buffer.append(bytes.data(), bytes.size());
    m_lastByteMs = nowMs;
    cutComplete(out);
    return out;
}

QList<QByteArray> RequestAssembler::idle(qint64 nowMs)
{
    QList<QByteArray> out;
    if (m_buffer.isEmpty() || nowMs < gapEndsAt())
        return out;
    if (expectedLength() < 0)
        out.append(m_buffer);
    else
        m_dropped += m_buffer.size();
    m_buffer.clear();
    return out;
}

}  // namespace lumaro::sim
