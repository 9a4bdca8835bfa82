#pragma once
// A TCP relay on a free loopback port in front of a server (the test PostgreSQL): every byte goes on
// unchanged, and it counts the round trips, each time the client speaks again after the server had
// the word. Many connections at once, each relayed by a thread of its own; all end with the relay.

#include "support/relay_sockets.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class CountingProxy {
public:
    CountingProxy(const char* serverAddress, int serverPort);
    ~CountingProxy();
    CountingProxy(const CountingProxy&) = delete;
    CountingProxy& operator=(const CountingProxy&) = delete;

    // The relay's port on 127.0.0.1; -1 when it could not listen.
    int Port() const { return m_port; }
    std::int64_t RoundTrips() const { return m_roundTrips.load(); }
    void ResetCount() { m_roundTrips.store(0); }

private:
    void AcceptLoop();
    void Relay(int client);

    const int m_serverPort;
    const std::uint32_t m_serverAddress;
    int m_listener = -1;
    int m_port = -1;
    WakePipe m_wake;  // ends every thread
    std::atomic<std::int64_t> m_roundTrips{0};
    std::mutex m_mutex;
    std::vector<std::thread> m_relays;
    std::thread m_acceptor;
};
