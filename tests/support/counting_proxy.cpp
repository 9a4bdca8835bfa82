#include "support/counting_proxy.h"

#include "support/relay_sockets.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Moves what `from` has to `to`; false when `from` closed or failed.
bool Pass(int from, int to)
{
    char buffer[65536];
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    return got > 0 && WriteAll(to, buffer, got);
}

}  // namespace

CountingProxy::CountingProxy(const char* serverAddress, int serverPort)
    : m_serverPort(serverPort), m_serverAddress(inet_addr(serverAddress))
{
    if (!m_wake.IsValid())
        return;
    m_listener = ListenOnLoopback(16, &m_port);
    if (m_listener >= 0)
        m_acceptor = std::thread([this] { AcceptLoop(); });
}

CountingProxy::~CountingProxy()
{
    m_wake.Raise();
    if (m_acceptor.joinable())
        m_acceptor.join();
    for (std::thread& relay : m_relays)
        relay.join();
    if (m_listener >= 0)
        ::close(m_listener);
}

void CountingProxy::AcceptLoop()
{
    for (;;) {
        pollfd waits[2] = {{m_listener, POLLIN, 0}, {m_wake.Fd(), POLLIN, 0}};
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
    const int server = ConnectTo(m_serverAddress, m_serverPort);
    bool serverSpokeLast = true;  // the client's first words start the first round trip
    while (server >= 0) {
        pollfd waits[3] = {{client, POLLIN, 0}, {server, POLLIN, 0}, {m_wake.Fd(), POLLIN, 0}};
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
    if (server >= 0)
        ::close(server);
    ::close(client);
}
