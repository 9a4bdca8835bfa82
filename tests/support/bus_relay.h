#pragma once
// A serial bus of several meters behind one gateway, on loopback: a TCP port for the master, and
// every byte it sends goes to each meter (simulators at their own addresses, each on its TCP port);
// only the addressed one answers, and its answer goes back to the master, as on an RS-485 line. One
// master at a time; the meters' connections stay open for the relay's life.
//
// It also adds up the line time of what went over the bus at `baud` (sim/line_time.h): each request
// with every answer byte up to the next request.

#include "support/relay_sockets.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

class BusRelay {
public:
    BusRelay(const std::vector<int>& meterPorts, int baud);
    ~BusRelay();
    BusRelay(const BusRelay&) = delete;
    BusRelay& operator=(const BusRelay&) = delete;

    // The master's port on 127.0.0.1; -1 when the relay could not start.
    int Port() const { return m_port; }
    // The line time of every exchange so far (read after the master is done).
    double LineSeconds() const { return double(m_lineNs.load()) / 1e9; }
    void Reset() { m_lineNs.store(0); }

private:
    void Loop();
    void EndExchange();

    const int m_baud;
    std::vector<int> m_meters;
    int m_listener = -1;
    int m_port = -1;
    WakePipe m_wake;
    long long m_requestBytes = 0;
    long long m_answerBytes = 0;
    std::atomic<long long> m_lineNs{0};
    std::thread m_thread;
};
