#include "pseudoterminal.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace lumaro::sim {

namespace {
QString systemError(const char *call)
{
    return QCoreApplication::translate("PseudoTerminal", "%1 failed: %2")
        .arg(QString::fromLatin1(call), QString::fromLocal8Bit(std::strerror(errno)));
}
}  // namespace

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open()
{
    close();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        m_error = systemError("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || ::ptsname_r(m_master, name, sizeof name) != 0) {
        m_error = systemError("grantpt/unlockpt/ptsname");
        close();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0) {
        m_error = systemError("fcntl");
        close();
        return false;
    }
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave < 0) {
        m_error = systemError("open");
        close();
        return false;
    }
    // Raw mode, so that no byte of a binary frame is echoed or translated, even for a client
    // that opens the device without setting the line up itself.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0) {
        m_error = systemError("tcgetattr");
        close();
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        m_error = systemError("tcsetattr");
        close();
        return false;
    }
    m_hungUp = false;
    return true;
}

void PseudoTerminal::close()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

qint64 PseudoTerminal::read(char *data, qint64 maxSize)
{
    const ssize_t n = ::read(m_master, data, size_t(maxSize));
    if (n > 0) {
        m_hungUp = false;
        return n;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return 0;
    // EIO (or end of file) on the master side: no slave descriptor is open.
    m_hungUp = n == 0 || errno == EIO;
    if (!m_hungUp)
        m_error = systemError("read");
    return -1;
}

qint64 PseudoTerminal::write(const char *data, qint64 size)
{
    const ssize_t n = ::write(m_master, data, size_t(size));
    if (n >= 0)
        return n;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return 0;
    m_error = systemError("write");
    return -1;
}

}  // namespace lumaro::sim
