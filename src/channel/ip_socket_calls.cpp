#include "channel/ip_socket_calls.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace IpSocketCalls {

int MakeAddress(const QString& text, std::uint16_t port, sockaddr_in& address)
{
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    const QByteArray name = text.trimmed().toUtf8();
    if (inet_pton(AF_INET, name.constData(), &address.sin_addr) == 1)
        return 0;
    // The resolver would take "192.168.1" as 192.168.0.1: a short dotted quad is a typing error, not a name.
    if (name.isEmpty()
        || std::all_of(name.begin(), name.end(), [](char c) { return c == '.' || (c >= '0' && c <= '9'); }))
        return EADDRNOTAVAIL;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found)
        return EADDRNOTAVAIL;
    address.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return 0;
}

int CreateSocket(bool tcp, int& fd)
{
    fd = ::socket(AF_INET, (tcp ? SOCK_STREAM : SOCK_DGRAM) | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    return fd < 0 ? errno : 0;
}

static int SetIntOption(int fd, int level, int name)
{
    const int on = 1;
    return ::setsockopt(fd, level, name, &on, sizeof on) == 0 ? 0 : errno;
}

int SetNoDelay(int fd)
{
    return SetIntOption(fd, IPPROTO_TCP, TCP_NODELAY);
}

int SetReuseAddress(int fd)
{
    return SetIntOption(fd, SOL_SOCKET, SO_REUSEADDR);
}

int BindAnyInterface(int fd, std::uint16_t port)
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0 ? 0 : errno;
}

int LocalPort(int fd)
{
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

int StartConnect(int fd, const sockaddr_in& peer)
{
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return 0;
    return errno == EINTR ? EINPROGRESS : errno;
}

int PendingError(int fd)
{
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

int Wait(int fd, short events, int timeoutMs, bool& ready)
{
    pollfd entry{fd, events, 0};
    const int result = ::poll(&entry, 1, timeoutMs);
    ready = result > 0;
    if (result < 0 && errno != EINTR)
        return errno;
    return 0;
}

long SendSome(int fd, const std::uint8_t* bytes, std::size_t count, const sockaddr_in* target, int& error)
{
    const ssize_t sent = ::sendto(fd, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT,
                                  reinterpret_cast<const sockaddr*>(target), target ? sizeof *target : 0);
    error = sent < 0 ? errno : 0;
    return static_cast<long>(sent);
}

long ReceiveSome(int fd, std::uint8_t* dest, std::size_t capacity, in_addr_t& sender, int& error)
{
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t got = ::recvfrom(fd, dest, capacity, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &length);
    error = got < 0 ? errno : 0;
    sender = from.sin_addr.s_addr;
    return static_cast<long>(got);
}

bool IsWouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR || error == ENOBUFS;
}

void CloseSocket(int& fd)
{
    if (fd != kNoSocket) {
        ::close(fd);
        fd = kNoSocket;
    }
}

}  // namespace IpSocketCalls
