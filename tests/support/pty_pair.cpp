#include "support/pty_pair.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    termios raw{};
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

QByteArray PtyPair::ReadMaster(int count, int timeoutMs)
{
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (out.size() < count && timer.elapsed() < timeoutMs) {
        pollfd pfd{m_master, POLLIN, 0};
        if (::poll(&pfd, 1, static_cast<int>(timeoutMs - timer.elapsed())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, std::min<qsizetype>(sizeof buffer, count - out.size()));
        if (n > 0)
            out.append(buffer, n);
    }
    return out;
}

QByteArray PtyPair::ReadMasterUntilQuiet(int quietMs, int timeoutMs)
{
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        pollfd pfd{m_master, POLLIN, 0};
        if (::poll(&pfd, 1, quietMs) <= 0) {
            if (!out.isEmpty())
                break;
            continue;
        }
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            out.append(buffer, n);
    }
    return out;
}

bool PtyPair::WriteMaster(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void PtyPair::CloseMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

bool PtyPair::WaitSlaveReadable(int timeoutMs) const
{
    pollfd pfd{m_slave, POLLIN, 0};
    return ::poll(&pfd, 1, timeoutMs) > 0 && (pfd.revents & POLLIN) != 0;
}
