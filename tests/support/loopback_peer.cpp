#include "support/loopback_peer.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace {

sockaddr_in Address(const char* address, int port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, address, &result.sin_addr);
    return result;
}

}  // namespace

PeerSocket::PeerSocket(int type) : m_fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0)) {}

PeerSocket::~PeerSocket()
{
    Close();
}

PeerSocket::PeerSocket(PeerSocket&& other) noexcept : m_fd(other.m_fd)
{
    other.m_fd = -1;
}

void PeerSocket::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

int PeerSocket::Bind(const char* address, int port, bool reuse)
{
    const int on = 1;
    if (reuse)
        ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local = Address(address, port);
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
        return -1;
    socklen_t length = sizeof local;
    ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&local), &length);
    return ntohs(local.sin_port);
}

int PeerSocket::Listen(int backlog)
{
    const int port = Bind("127.0.0.1", 0, false);
    if (port <= 0 || ::listen(m_fd, backlog) != 0)
        return -1;
    return port;
}

PeerSocket PeerSocket::Accept(int timeoutMs) const
{
    if (!WaitReadable(timeoutMs))
        return PeerSocket(-1, true);
    return PeerSocket(::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC), true);
}

bool PeerSocket::WaitReadable(int timeoutMs) const
{
    pollfd entry{m_fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

QByteArray PeerSocket::Receive(int timeoutMs) const
{
    if (!WaitReadable(timeoutMs))
        return {};
    char buffer[4096];
    const ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
    return got > 0 ? QByteArray(buffer, static_cast<int>(got)) : QByteArray();
}

QByteArray PeerSocket::ReceiveStream(int count, int timeoutMs) const
{
    QByteArray all;
    QElapsedTimer clock;
    clock.start();
    while (all.size() < count && clock.elapsed() < timeoutMs) {
        const QByteArray part = Receive(static_cast<int>(timeoutMs - clock.elapsed()));
        if (part.isEmpty())
            break;
        all += part;
    }
    return all;
}

bool PeerSocket::Send(const QByteArray& bytes) const
{
    const auto size = static_cast<size_t>(bytes.size());
    return ::send(m_fd, bytes.constData(), size, MSG_NOSIGNAL) == static_cast<ssize_t>(size);
}

bool PeerSocket::SendTo(const QByteArray& bytes, const char* address, int port) const
{
    const sockaddr_in target = Address(address, port);
    const auto size = static_cast<size_t>(bytes.size());
    return ::sendto(m_fd, bytes.constData(), size, 0, reinterpret_cast<const sockaddr*>(&target), sizeof target)
        == static_cast<ssize_t>(size);
}
