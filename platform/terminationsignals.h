#pragma once

#include <QObject>

class QSocketNotifier;

namespace lumaro {

// Turns SIGINT and SIGTERM into a Qt signal on the event loop, through a self-pipe: the signal
// handler only writes one byte, a QSocketNotifier reads it. One instance per program.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Installs the handlers; false (with errorString()) if the pipe or a handler fails.
    bool install();
    QString errorString() const { return m_error; }

signals:
    void terminationRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
    QString m_error;
};

}  // namespace lumaro
