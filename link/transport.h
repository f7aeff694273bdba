#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace lumaro {

// The byte pipe under the gateway link: a serial port, or the simulated line in-process.
// Received bytes are announced with bytesArrived() on the thread of the link.
class Transport : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool write(const QByteArray &bytes) = 0;
    // Forget what the driver still holds in its receive queue.
    virtual void discardInput() {}
    // Called by the link at the start of each of its ticks; lets a simulated transport count
    // its delays in link ticks.
    virtual void tick() {}
    virtual QString errorString() const { return {}; }

signals:
    void bytesArrived(const QByteArray &bytes);
    // The line reported an error while open (framing, parity, a vanished adapter).
    void lineError(const QString &text);
};

}  // namespace lumaro
