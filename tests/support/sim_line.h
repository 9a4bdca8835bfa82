#pragma once
// Real lines to the simulated meter for the tests: a loopback TCP connection, a UDP socket or its
// pseudo-terminal, asked in the framings of the product's channel (the same encoders and answer
// recognisers), and a meter served on a thread of its own.

#include "sim/meter_simulator.h"
#include "sim/sim_server.h"

#include <QByteArray>

#include <cstdint>

// One request on the line and its answer, found by the channel's recogniser.
class LineTransport {
public:
    LineTransport(int fd, int framing) : m_fd(fd), m_framing(framing) {}
    ~LineTransport();
    LineTransport(const LineTransport&) = delete;
    LineTransport& operator=(const LineTransport&) = delete;

    // Sends the request unit (address, function, data; no checksum) and returns the answer unit without
    // its checksum, or empty when nothing valid came within `timeoutMs`.
    QByteArray Ask(const QByteArray& unit, int timeoutMs = 5000);
    // Raw bytes on the line, as a misbehaving peer sends them.
    bool Send(const QByteArray& bytes) const;
    int Fd() const { return m_fd; }

private:
    int m_fd;
    int m_framing;
    std::uint16_t m_transaction = 1;
};

// A loopback TCP connection to the port, or -1.
int ConnectTcp(int port);
// A UDP socket on loopback connected to the port (it takes datagrams from that port only), or -1.
int ConnectUdp(int port);
// The pseudo-terminal opened raw, or -1.
int OpenPty(const QString& path);
// True when the peer closed the connection within `timeoutMs` (a read sees the end of the stream).
bool ClosedByPeer(int fd, int timeoutMs);

struct RunningMeter {
    explicit RunningMeter(SimOptions options);
    MeterSimulator meter;
    SimServer server;
    bool started = false;
};

SimOptions On(SimOptions::Endpoint endpoint, int framing, std::uint16_t level);
