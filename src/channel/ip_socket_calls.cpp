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

namespace {

sockaddr_in& AsIpv4(SocketAddress& address)
{
    return *reinterpret_cast<sockaddr_in*>(&address.storage);
}

sockaddr_in6& AsIpv6(SocketAddress& address)
{
    return *reinterpret_cast<sockaddr_in6*>(&address.storage);
}

const sockaddr* Raw(const SocketAddress& address)
{
    return reinterpret_cast<const sockaddr*>(&address.storage);
}

void SetIpv4(SocketAddress& address, const in_addr& host, std::uint16_t port)
{
    address = SocketAddress{};
    AsIpv4(address).sin_family = AF_INET;
    AsIpv4(address).sin_port = htons(port);
    AsIpv4(address).sin_addr = host;
    address.length = sizeof(sockaddr_in);
}

}  // namespace

bool SameHost(const SocketAddress& one, const SocketAddress& other)
{
    if (one.Family() != other.Family())
        return false;
    if (one.Family() == AF_INET6)
        return std::memcmp(&reinterpret_cast<const sockaddr_in6*>(&one.storage)->sin6_addr,
                           &reinterpret_cast<const sockaddr_in6*>(&other.storage)->sin6_addr, sizeof(in6_addr))
            == 0;
    return reinterpret_cast<const sockaddr_in*>(&one.storage)->sin_addr.s_addr
        == reinterpret_cast<const sockaddr_in*>(&other.storage)->sin_addr.s_addr;
}

int MakeAddress(const QString& text, std::uint16_t port, SocketAddress& address)
{
    const QByteArray name = text.trimmed().toUtf8();
    in_addr ipv4{};
    if (inet_pton(AF_INET, name.constData(), &ipv4) == 1) {
        SetIpv4(address, ipv4, port);
        return 0;
    }
    const QByteArray literal = name.startsWith('[') && name.endsWith(']') ? name.mid(1, name.size() - 2) : name;
    in6_addr ipv6{};
    if (inet_pton(AF_INET6, literal.constData(), &ipv6) == 1) {
        address = SocketAddress{};
        AsIpv6(address).sin6_family = AF_INET6;
        AsIpv6(address).sin6_port = htons(port);
        AsIpv6(address).sin6_addr = ipv6;
        address.length = sizeof(sockaddr_in6);
        return 0;
    }
    // The resolver would take "192.168.1" as 192.168.0.1: a short dotted quad is a typing error, not a name.
    if (name.isEmpty()
        || std::all_of(name.begin(), name.end(), [](char c) { return c == '.' || (c >= '0' && c <= '9'); }))
        return EADDRNOTAVAIL;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found)
        return EADDRNOTAVAIL;
    SetIpv4(address, reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr, port);
    ::freeaddrinfo(found);
    return 0;
}

int CreateSocket(bool tcp, int family, int& fd)
{
    fd = ::socket(family, (tcp ? SOCK_STREAM : SOCK_DGRAM) | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
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

int BindAnyInterface(int fd, int family, std::uint16_t port)
{
    SocketAddress local;
    if (family == AF_INET6) {
        AsIpv6(local).sin6_family = AF_INET6;
        AsIpv6(local).sin6_port = htons(port);
        AsIpv6(local).sin6_addr = in6addr_any;
        local.length = sizeof(sockaddr_in6);
    } else {
        in_addr any{};
        any.s_addr = htonl(INADDR_ANY);
        SetIpv4(local, any, port);
    }
    return ::bind(fd, Raw(local), local.length) == 0 ? 0 : errno;
}

int LocalPort(int fd)
{
    SocketAddress local;
    local.length = sizeof local.storage;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local.storage), &local.length) != 0)
        return 0;
    return local.Family() == AF_INET6 ? ntohs(AsIpv6(local).sin6_port) : ntohs(AsIpv4(local).sin_port);
}

int StartConnect(int fd, const SocketAddress& peer)
{
    if (::connect(fd, Raw(peer), peer.length) == 0)
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

long SendSome(int fd, const std::uint8_t* bytes, std::size_t count, const SocketAddress* target, int& error)
{
    const ssize_t sent = ::sendto(fd, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT, target ? Raw(*target) : nullptr,
                                  target ? target->length : 0);
    error = sent < 0 ? errno : 0;
    return static_cast<long>(sent);
}

long ReceiveSome(int fd, std::uint8_t* dest, std::size_t capacity, SocketAddress& sender, int& error)
{
    sender = SocketAddress{};
    sender.length = sizeof sender.storage;
    const ssize_t got = ::recvfrom(fd, dest, capacity, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&sender.storage),
                                   &sender.length);
    error = got < 0 ? errno : 0;
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
