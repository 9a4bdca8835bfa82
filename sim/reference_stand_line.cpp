#include "reference_stand_line.h"
#include "system_error.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

void MakeRaw(int fd)
{
    termios raw{};
    if (::tcgetattr(fd, &raw) != 0)
        return;
    ::cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    ::cfsetspeed(&raw, B2400);
    ::tcsetattr(fd, TCSANOW, &raw);
}

}  // namespace

ReferenceStandLine::~ReferenceStandLine()
{
    Stop();
}

bool ReferenceStandLine::Start(const QString& where, QString* error)
{
    Stop();
    if (!(where == QLatin1String("pty") ? OpenPty(error) : OpenDevice(where, error))) {
        CloseAll();
        return false;
    }
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void ReferenceStandLine::Stop()
{
    // The line is polled in short slices: the thread sees the flag within one of them.
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    CloseAll();
}

bool ReferenceStandLine::OpenPty(QString* error)
{
    char name[256] = {};
    if (::openpty(&m_lineFd, &m_ptySlaveFd, name, nullptr, nullptr) != 0) {
        *error = SystemError(QStringLiteral("openpty"));
        return false;
    }
    MakeRaw(m_ptySlaveFd);
    ::fcntl(m_lineFd, F_SETFL, ::fcntl(m_lineFd, F_GETFL) | O_NONBLOCK);
    m_path = QString::fromLocal8Bit(name);
    return true;
}

bool ReferenceStandLine::OpenDevice(const QString& path, QString* error)
{
    m_lineFd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_lineFd < 0) {
        *error = SystemError(path);
        return false;
    }
    MakeRaw(m_lineFd);
    m_path = path;
    return true;
}

void ReferenceStandLine::CloseAll()
{
    for (int* fd : {&m_lineFd, &m_ptySlaveFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void ReferenceStandLine::Run()
{
    constexpr int kIdlePollMs = 100;
    while (!m_stop) {
        pollfd line = {m_lineFd, POLLIN, 0};
        if (::poll(&line, 1, kIdlePollMs) <= 0 || m_stop)
            continue;
        if (!(line.revents & POLLIN)) {
            // A pty with no client open reports a hang-up until one opens it: do not spin.
            if (line.revents & (POLLHUP | POLLERR))
                ::usleep(kIdlePollMs * 1000);
            continue;
        }
        char buffer[256];
        const ssize_t got = ::read(m_lineFd, buffer, sizeof buffer);
        if (got <= 0)
            continue;
        const QStringList before = m_stand.Measures();
        const int refusedBefore = m_stand.Refused();
        const QByteArray reply = m_stand.Feed(QByteArray(buffer, static_cast<qsizetype>(got)));
        if (m_log) {
            const QStringList after = m_stand.Measures();
            for (qsizetype i = before.size(); i < after.size(); ++i)
                m_log(QStringLiteral("РКМ8: мера %1").arg(after[i]));
            if (m_stand.Refused() > refusedBefore)
                m_log(QStringLiteral("РКМ8: команда отклонена"));
        }
        for (qsizetype sent = 0; sent < reply.size();) {
            const ssize_t put = ::write(m_lineFd, reply.constData() + sent, static_cast<size_t>(reply.size() - sent));
            if (put < 0 && errno != EAGAIN && errno != EINTR)
                break;
            if (put > 0)
                sent += put;
        }
    }
}
