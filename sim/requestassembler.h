#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

namespace lumaro::sim {

// Cuts the byte stream that arrives on a gateway line into request frames. A register request
// ends where its function code says (0x43 and 0x46: 8 bytes, 0x50: 9 + its byte count); any
// other request ends with a silence gap. Bytes of an incomplete request are dropped when the
// line has been silent for the gap, so that the next frame is found again after garbage.
// Time is given by the caller (driven time); gateway-sim calls idle() when the gap has passed.
class RequestAssembler
{
public:
    explicit RequestAssembler(int silenceGapMs) : m_gapMs(silenceGapMs) {}

    // Bytes that arrived at nowMs; returns the requests they complete.
    QList<QByteArray> feed(QByteArrayView bytes, qint64 nowMs);
    // The line has been silent until nowMs: returns a request of unknown length collected so
    // far, once the gap has passed, and drops an incomplete register request.
    QList<QByteArray> idle(qint64 nowMs);

    bool hasPartial() const { return !m_buffer.isEmpty(); }
    // When idle() has something to decide.
    qint64 gapEndsAt() const { return m_lastByteMs + m_gapMs; }
    // Bytes dropped so far as incomplete or overlong.
    qint64 droppedBytes() const { return m_dropped; }

private:
    // Length of the request in the buffer, 0 while not yet known, -1 when only a gap ends it.
    int expectedLength() const;
    void cutComplete(QList<QByteArray> &out);

    int m_gapMs;
    QByteArray m_buffer;
    qint64 m_lastByteMs = 0;
    qint64 m_dropped = 0;
};

}  // namespace lumaro::sim
