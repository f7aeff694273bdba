#pragma once

#include "transport.h"

#include <QList>

// A transport the test feeds by hand: it records what the link writes and delivers the bytes the
// test hands it, as if they had arrived on the line.
class FakeTransport final : public lumaro::Transport
{
    Q_OBJECT
public:
    bool open() override { m_open = true; return true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &bytes) override { written.append(bytes); return true; }
    void discardInput() override { ++discards; }

    void deliver(const QByteArray &bytes) { emit bytesArrived(bytes); }

    QList<QByteArray> written;
    int discards = 0;

private:
    bool m_open = false;
};
