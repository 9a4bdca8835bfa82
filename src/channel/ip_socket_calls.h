#pragma once
// Every operating-system call of the IP link, each a thin wrapper that answers 0 or the errno value,
// so the link itself holds only the exchange rules and reports the system's own text for a failure.
// Sockets are IPv4 or IPv6, non-blocking and close-on-exec; waiting is done with poll().

#include <netinet/in.h>
#include <sys/socket.h>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace IpSocketCalls {

constexpr int kNoSocket = -1;

// An IPv4 or an IPv6 socket address.
struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int Family() const { return storage.ss_family; }
};
// Whether both name the same host (the ports aside).
bool SameHost(const SocketAddress& one, const SocketAddress& other);

// Dotted-quad text, an IPv6 literal (brackets allowed) or a host name, and a port in host order -> socket
// address (a name is looked up, its first IPv4 address taken). EADDRNOTAVAIL when the text is neither an
// address nor a name that has an IPv4 address.
int MakeAddress(const QString& text, std::uint16_t port, SocketAddress& address);

int CreateSocket(bool tcp, int family, int& fd);
// Requests leave at once instead of waiting in the sender's coalescing buffer.
int SetNoDelay(int fd);
// Lets the port be shared with a socket bound to one specific local address (a local peer).
int SetReuseAddress(int fd);
int BindAnyInterface(int fd, int family, std::uint16_t port);
// The local port the socket is bound to, 0 when it is not.
int LocalPort(int fd);

// 0 when connected at once, EINPROGRESS while the connection is under way, else the error.
int StartConnect(int fd, const SocketAddress& peer);
// The outcome of a connection that was under way (the socket's pending error).
int PendingError(int fd);

// Waits up to timeoutMs for `events` (POLLIN or POLLOUT); `ready` tells whether anything happened
// (readiness, hang-up or an error condition). An interrupted wait counts as nothing happened.
int Wait(int fd, short events, int timeoutMs, bool& ready);

// Sends without blocking (and without a broken-pipe signal): the number of bytes taken, or -1 with
// `error` set. `target` is null for a connected socket.
long SendSome(int fd, const std::uint8_t* bytes, std::size_t count, const SocketAddress* target, int& error);
// Receives without blocking: the number of bytes, 0 at the stream's end, or -1 with `error` set.
// `sender` is the source address of a datagram.
long ReceiveSome(int fd, std::uint8_t* dest, std::size_t capacity, SocketAddress& sender, int& error);

// True for the errors that mean "not now, try again".
bool IsWouldBlock(int error);

void CloseSocket(int& fd);

}  // namespace IpSocketCalls
