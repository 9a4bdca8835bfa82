#include "support/bus_relay.h"

#include "sim/line_time.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in LoopbackPort(int port)
{
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    where.sin_port = htons(std::uint16_t(port));
    return where;
}

int Connected(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in where = LoopbackPort(port);
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

}  // namespace

BusRelay::BusRelay(const std::vector<int>& meterPorts, int baud) : m_baud(baud)
{
    for (int port : meterPorts) {
        const int fd = Connected(port);
        if (fd < 0)
            return;
        m_meters.push_back(fd);
    }
    if (::pipe(m_wake) != 0)
        return;
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in where = LoopbackPort(0);
    socklen_t length = sizeof where;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0
        || ::listen(m_listener, 4) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&where), &length) != 0)
        return;
    m_port = ntohs(where.sin_port);
    m_thread = std::thread([this] { Loop(); });
}

BusRelay::~BusRelay()
{
    if (m_wake[1] >= 0)
        (void)!::write(m_wake[1], "x", 1);
    if (m_thread.joinable())
        m_thread.join();
    for (int fd : m_meters) {
        if (fd >= 0)
            ::close(fd);
    }
    for (int fd : {m_listener, m_wake[0], m_wake[1]}) {
        if (fd >= 0)
            ::close(fd);
    }
}

void BusRelay::EndExchange()
{
    if (m_requestBytes > 0)
        m_lineNs += ExchangeLineTime(m_requestBytes, m_answerBytes, m_baud, true).count();
    m_requestBytes = m_answerBytes = 0;
}

void BusRelay::Loop()
{
    int master = -1;
    bool answered = true;  // the master's next bytes start a new exchange
    char buffer[4096];
    for (;;) {
        std::vector<pollfd> waits{{m_wake[0], POLLIN, 0}, {master >= 0 ? master : m_listener, POLLIN, 0}};
        for (int fd : m_meters)
            waits.push_back({fd, POLLIN, 0});
        if (::poll(waits.data(), nfds_t(waits.size()), -1) < 0 || waits[0].revents != 0)
            break;
        if (waits[1].revents != 0) {
            if (master < 0) {
                master = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
                answered = true;
            } else {
                const ssize_t got = ::read(master, buffer, sizeof buffer);
                if (got <= 0) {
                    ::close(master);
                    master = -1;
                    EndExchange();
                } else {
                    if (answered)
                        EndExchange();
                    answered = false;
                    m_requestBytes += got;
                    for (int fd : m_meters) {
                        if (fd >= 0)
                            WriteAll(fd, buffer, got);
                    }
                }
            }
        }
        for (std::size_t i = 0; i < m_meters.size(); ++i) {
            if (waits[i + 2].revents == 0)
                continue;
            const ssize_t got = ::read(m_meters[i], buffer, sizeof buffer);
            if (got <= 0) {
                // A meter that went away stays silent (poll skips a negative descriptor).
                ::close(m_meters[i]);
                m_meters[i] = -1;
                continue;
            }
            answered = true;
            m_answerBytes += got;
            if (master >= 0)
                WriteAll(master, buffer, got);
        }
    }
    EndExchange();
    if (master >= 0)
        ::close(master);
}
