#pragma once

#include <QString>
#include <QtGlobal>

namespace lumaro::sim {

// The pseudo-terminal that gateway-sim serves its line on: the master side for the simulator,
// the slave side (its device path) for the program under test. All POSIX terminal calls of
// gateway-sim live behind this class.
//
// The simulator keeps a descriptor of the slave side open itself. Without it, the master side
// reports hang-up (POLLHUP, reads fail with EIO) from the moment a client closes the port until
// the next one opens it; with it, clients may close and reopen the port at will.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Opens the master side non-blocking and the slave side in raw mode.
    bool open();
    void close();
    QString errorString() const { return m_error; }

    QString slavePath() const { return m_slavePath; }
    int masterDescriptor() const { return m_master; }

    // Reads what is waiting on the master side: the byte count, 0 when nothing is waiting, -1 on
    // hang-up or error (hungUp() tells which).
    qint64 read(char *data, qint64 maxSize);
    // Writes as much as the terminal takes now: the byte count (possibly 0), or -1 on error.
    qint64 write(const char *data, qint64 size);
    bool hungUp() const { return m_hungUp; }

private:
    int m_master = -1;
    int m_slave = -1;
    bool m_hungUp = false;
    QString m_slavePath;
    QString m_error;
};

}  // namespace lumaro::sim
