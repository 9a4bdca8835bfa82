#include "support/bus_relay.h"

#include "sim/line_time.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

BusRelay::BusRelay(const std::vector<int>& meterPorts, int baud) : m_baud(baud)
{
    for (int port : meterPorts) {
        const int fd = ConnectTo(htonl(INADDR_LOOPBACK), port);
        if (fd < 0)
            return;
        m_meters.push_back(fd);
    }
    if (!m_wake.IsValid())
        return;
    m_listener = ListenOnLoopback(4, &m_port);
    if (m_listener >= 0)
        m_thread = std::thread([this] { Loop(); });
}

BusRelay::~BusRelay()
{
    m_wake.Raise();
    if (m_thread.joinable())
        m_thread.join();
    for (int fd : m_meters) {
        if (fd >= 0)
            ::close(fd);
    }
    if (m_listener >= 0)
        ::close(m_listener);
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
        std::vector<pollfd> waits{{m_wake.Fd(), POLLIN, 0}, {master >= 0 ? master : m_listener, POLLIN, 0}};
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
