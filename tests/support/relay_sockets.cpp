#include "support/relay_sockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace {

sockaddr_in Place(unsigned address, int port)
{
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = address;
    where.sin_port = htons(std::uint16_t(port));
    return where;
}

}  // namespace

int ListenOnLoopback(int backlog, int* port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in where = Place(htonl(INADDR_LOOPBACK), 0);
    socklen_t length = sizeof where;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0 && ::listen(fd, backlog) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&where), &length) == 0) {
        *port = ntohs(where.sin_port);
        return fd;
    }
    if (fd >= 0)
        ::close(fd);
    return -1;
}

int ConnectTo(unsigned address, int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in where = Place(address, port);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0) {
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return fd;
    }
    if (fd >= 0)
        ::close(fd);
    return -1;
}

bool WriteAll(int fd, const char* bytes, ssize_t size)
{
    for (ssize_t sent = 0; sent < size;) {
        const ssize_t n = ::write(fd, bytes + sent, std::size_t(size - sent));
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

WakePipe::WakePipe()
{
    if (::pipe(m_fds) != 0)
        m_fds[0] = m_fds[1] = -1;
}

WakePipe::~WakePipe()
{
    for (int fd : m_fds) {
        if (fd >= 0)
            ::close(fd);
    }
}

void WakePipe::Raise()
{
    if (m_fds[1] >= 0)
        (void)!::write(m_fds[1], "x", 1);
}
