#include "support/counting_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(std::uint32_t address, int port)
{
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = address;
    where.sin_port = htons(std::uint16_t(port));
    return where;
}

// Moves what `from` has to `to`; false when `from` closed or failed.
bool Pass(int from, int to)
{
    char buffer[65536];
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got <= 0)
        return false;
    for (ssize_t sent = 0; sent < got;) {
        const ssize_t n = ::write(to, buffer + sent, std::size_t(got - sent));
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

}  // namespace

CountingProxy::CountingProxy(const char* serverAddress, int serverPort)
    : m_serverPort(serverPort), m_serverAddress(inet_addr(serverAddress))
{
    if (::pipe(m_wake) != 0)
        return;
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in where = Loopback(inet_addr("127.0.0.1"), 0);
    socklen_t length = sizeof where;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0
        || ::listen(m_listener, 16) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&where), &length) != 0)
        return;
    m_port = ntohs(where.sin_port);
    m_acceptor = std::thread([this] { AcceptLoop(); });
}

CountingProxy::~CountingProxy()
{
    if (m_wake[1] >= 0)
        (void)!::write(m_wake[1], "x", 1);
    if (m_acceptor.joinable())
        m_acceptor.join();
    for (std::thread& relay : m_relays)
        relay.join();
    for (int fd : {m_listener, m_wake[0], m_wake[1]}) {
        if (fd >= 0)
            ::close(fd);
    }
}

void CountingProxy::AcceptLoop()
{
    for (;;) {
        pollfd waits[2] = {{m_listener, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0 || waits[1].revents != 0)
            return;
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_relays.emplace_back([this, client] { Relay(client); });
    }
}

void CountingProxy::Relay(int client)
{
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in where = Loopback(m_serverAddress, m_serverPort);
    if (server >= 0 && ::connect(server, reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0) {
        bool serverSpokeLast = true;  // the client's first words start the first round trip
        for (;;) {
            pollfd waits[3] = {{client, POLLIN, 0}, {server, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(waits, 3, -1) < 0 || waits[2].revents != 0)
                break;
            if (waits[0].revents != 0) {
                if (serverSpokeLast)
                    ++m_roundTrips;
                serverSpokeLast = false;
                if (!Pass(client, server))
                    break;
            }
            if (waits[1].revents != 0) {
                serverSpokeLast = true;
                if (!Pass(server, client))
                    break;
            }
        }
    }
    if (server >= 0)
        ::close(server);
    ::close(client);
}
