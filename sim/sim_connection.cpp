#include "sim_connection.h"

#include <poll.h>
#include <unistd.h>
#include <cerrno>

SimConnection::SimConnection(int fd, std::unique_ptr<MeterSession> session, bool datagrams)
    : m_fd(fd), m_session(std::move(session)), m_datagrams(datagrams)
{}

SimConnection::~SimConnection()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SimConnection::ReadFrom(std::mutex& meterLock, const Log& log)
{
    std::uint8_t buffer[4096];
    ssize_t received = 0;
    if (m_datagrams) {
        socklen_t length = sizeof m_peer;
        received = ::recvfrom(m_fd, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&m_peer), &length);
        if (received >= 0)
            m_peerLength = length;
    } else {
        received = ::read(m_fd, buffer, sizeof buffer);
    }
    if (received < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    if (received == 0)
        return m_datagrams;  // an empty datagram is just that; an empty read is the end of a stream
    Receive(buffer, static_cast<int>(received), meterLock, log);
    return true;
}

void SimConnection::Receive(const std::uint8_t* bytes, int length, std::mutex& meterLock, const Log& log)
{
    m_lastReceived = Clock::now();
    if (log)
        log(QStringLiteral("<- %1").arg(MeterSession::Hex(QByteArray(reinterpret_cast<const char*>(bytes), length))));
    std::lock_guard<std::mutex> lock(meterLock);
    if (m_datagrams) {
        // A datagram is a frame or nothing: no byte of it waits for the next one.
        m_session->Reset();
        m_session->Feed(bytes, length);
        m_session->LineQuiet();
        m_session->Reset();
    } else {
        m_session->Feed(bytes, length);
    }
    Schedule();
}

void SimConnection::CheckQuiet(std::chrono::milliseconds frameGap, std::chrono::milliseconds staleAfter,
                               std::mutex& meterLock)
{
    const Clock::duration quiet = Clock::now() - m_lastReceived;
    if (m_session->NeedsFrameGap() && quiet >= frameGap) {
        std::lock_guard<std::mutex> lock(meterLock);
        m_session->LineQuiet();
        Schedule();
    }
    if (m_session->HasPartialFrame() && quiet >= staleAfter)
        m_session->Reset();
}

void SimConnection::Schedule()
{
    Clock::time_point at = m_pending.empty() ? Clock::now() : std::max(Clock::now(), m_pending.back().due);
    for (SimAction& action : m_session->TakeActions()) {
        at += std::chrono::duration_cast<Clock::duration>(action.delay);
        m_pending.push_back({std::move(action), at, m_peer, m_peerLength});
    }
}

bool SimConnection::SendDue(const Log& log)
{
    while (!m_pending.empty() && m_pending.front().due <= Clock::now()) {
        Pending next = std::move(m_pending.front());
        m_pending.pop_front();
        if (next.action.type == SimAction::Close)
            return false;
        const QByteArray& bytes = next.action.bytes;
        if (log)
            log(QStringLiteral("-> %1").arg(MeterSession::Hex(bytes)));
        if (m_datagrams) {
            ::sendto(m_fd, bytes.constData(), static_cast<std::size_t>(bytes.size()), 0,
                     reinterpret_cast<const sockaddr*>(&next.peer), next.peerLength);
            continue;
        }
        if (!Write(bytes))
            return false;
    }
    return true;
}

bool SimConnection::Write(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            // A peer that stops reading holds up only itself: after a second its answer is given up.
            pollfd out{m_fd, POLLOUT, 0};
            if (::poll(&out, 1, 1000) <= 0)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

std::chrono::nanoseconds SimConnection::TimeToNext(std::chrono::nanoseconds limit, std::chrono::milliseconds frameGap,
                                                   std::chrono::milliseconds staleAfter) const
{
    using std::chrono::nanoseconds;
    nanoseconds timeout = limit;
    const Clock::time_point now = Clock::now();
    if (!m_pending.empty())
        timeout = std::clamp<nanoseconds>(m_pending.front().due - now, nanoseconds(0), timeout);
    if (m_session->NeedsFrameGap())
        timeout = std::clamp<nanoseconds>(m_lastReceived + frameGap - now, nanoseconds(0), timeout);
    if (m_session->HasPartialFrame())
        timeout = std::clamp<nanoseconds>(m_lastReceived + staleAfter - now, nanoseconds(0), timeout);
    return timeout;
}
