// The simulated meter against peers that misbehave: half frames, foreign headers, random bytes, idle
// connections and too many of them, on TCP, UDP and its pseudo-terminal. After each, a well-behaved
// master must still be answered.
#include "support/sim_line.h"

#include "support/wait_for.h"

#include "channel/channel_types.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

namespace {

// Read the meter's type code (register 0): the answer every test expects from a healthy meter.
const QByteArray kReadTypeCode = QByteArray::fromHex("010300000001");
const QByteArray kTypeCodeAnswer = QByteArray::fromHex("0103021702");

const char* NameOf(int framing)
{
    switch (framing) {
        case kFramingAscii:
            return "ascii";
        case kFramingPpp:
            return "ppp";
        case kFramingModbusTcp:
            return "tcp";
        default:
            return "rtu";
    }
}

QByteArray RandomBytes(unsigned seed, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes.append(static_cast<char>(seed >> 16));
    }
    return bytes;
}

// What misbehaving clients send before they hang up.
QList<QByteArray> Garbage()
{
    return {QByteArray::fromHex("00010000"),        // a Modbus TCP header cut short
            QByteArray("\n"),                       // a lone newline
            QByteArray::fromHex("0001000000ff01"),  // a header promising 255 bytes that never come
            QByteArray::fromHex("011000000002"),    // an RTU write cut short
            QByteArray(":0103"),                    // an ASCII frame cut short
            QByteArray::fromHex("7e7d21"),          // a stuffed frame cut short
            RandomBytes(7, 300)};
}

// Reads whatever the line still brings within a short while.
void Drain(int fd)
{
    char buffer[512];
    pollfd readable{fd, POLLIN, 0};
    while (::poll(&readable, 1, 200) > 0 && ::read(fd, buffer, sizeof buffer) > 0) {}
}

constexpr int kFramings[] = {kFramingRtu, kFramingAscii, kFramingPpp, kFramingModbusTcp};

}  // namespace

TEST(HostilePeers, TcpClientThatHangsUpMidFrameLeavesTheNextOneACleanStart)
{
    for (const int framing : kFramings) {
        SCOPED_TRACE(NameOf(framing));
        RunningMeter running(On(SimOptions::Endpoint::Tcp, framing, 515));
        ASSERT_TRUE(running.started);
        for (const QByteArray& garbage : Garbage()) {
            SCOPED_TRACE(garbage.toHex().left(32).toStdString());
            {
                LineTransport bad(ConnectTcp(running.server.BoundPort()), framing);
                ASSERT_TRUE(bad.Send(garbage));
            }
            LineTransport good(ConnectTcp(running.server.BoundPort()), framing);
            EXPECT_EQ(good.Ask(kReadTypeCode), kTypeCodeAnswer);
        }
    }
}

TEST(HostilePeers, GarbageOnAConnectionIsSkippedOrEndsIt)
{
    // In the delimited and checksummed framings noise in front of a request is skipped on the same
    // connection.
    for (const int framing : {kFramingRtu, kFramingAscii, kFramingPpp}) {
        SCOPED_TRACE(NameOf(framing));
        RunningMeter running(On(SimOptions::Endpoint::Tcp, framing, 515));
        ASSERT_TRUE(running.started);
        LineTransport line(ConnectTcp(running.server.BoundPort()), framing);
        for (const QByteArray& garbage : {RandomBytes(3, 40), QByteArray("\r\n"), QByteArray::fromHex("7e0103")}) {
            ASSERT_TRUE(line.Send(garbage));
            EXPECT_EQ(line.Ask(kReadTypeCode), kTypeCodeAnswer);
        }
    }
    // A Modbus TCP header with a foreign protocol id, or a length no request of the meter has, ends
    // the connection; the next client is served.
    RunningMeter running(On(SimOptions::Endpoint::Tcp, kFramingModbusTcp, 515));
    ASSERT_TRUE(running.started);
    for (const char* header : {"000100010006", "000100000001", "00010000012c", "00010000ffff"}) {
        SCOPED_TRACE(header);
        LineTransport bad(ConnectTcp(running.server.BoundPort()), kFramingModbusTcp);
        ASSERT_TRUE(bad.Send(QByteArray::fromHex(header) + QByteArray::fromHex("0103000000010000")));
        EXPECT_TRUE(ClosedByPeer(bad.Fd(), 5000));
        LineTransport good(ConnectTcp(running.server.BoundPort()), kFramingModbusTcp);
        EXPECT_EQ(good.Ask(kReadTypeCode), kTypeCodeAnswer);
    }
    // The largest request the meter takes still passes: 0x48 writing 142 registers (298 bytes).
    LineTransport line(ConnectTcp(running.server.BoundPort()), kFramingModbusTcp);
    QByteArray request = QByteArray::fromHex("014800000000") + QByteArray::fromHex("4000008e011c0001");
    request.append(QByteArray(284, '\0'));
    ASSERT_EQ(request.size(), 298);
    EXPECT_FALSE(line.Ask(request).isEmpty());
}

TEST(HostilePeers, IdleClientsBlockNobodyAndOneTooManyIsClosedAtOnce)
{
    SimOptions options = On(SimOptions::Endpoint::Tcp, kFramingModbusTcp, 515);
    options.maxClients = 2;
    RunningMeter running(options);
    ASSERT_TRUE(running.started);
    const int port = running.server.BoundPort();

    // One client holds its connection with half a header and says nothing more.
    auto idle = std::make_unique<LineTransport>(ConnectTcp(port), kFramingModbusTcp);
    ASSERT_TRUE(idle->Send(QByteArray::fromHex("0007")));
    LineTransport busy(ConnectTcp(port), kFramingModbusTcp);
    EXPECT_EQ(busy.Ask(kReadTypeCode), kTypeCodeAnswer);
    ASSERT_TRUE(WaitFor([&] { return running.server.Clients() == 2; }, 5000));

    // The third is taken off the backlog and closed, not left waiting.
    LineTransport refused(ConnectTcp(port), kFramingModbusTcp);
    EXPECT_TRUE(ClosedByPeer(refused.Fd(), 3000));
    EXPECT_EQ(busy.Ask(kReadTypeCode), kTypeCodeAnswer);

    // Once the idle one hangs up there is room again.
    idle.reset();
    ASSERT_TRUE(WaitFor([&] { return running.server.Clients() == 1; }, 5000));
    LineTransport next(ConnectTcp(port), kFramingModbusTcp);
    EXPECT_EQ(next.Ask(kReadTypeCode), kTypeCodeAnswer);
    EXPECT_EQ(busy.Ask(kReadTypeCode), kTypeCodeAnswer);
}

TEST(HostilePeers, EachUdpDatagramStandsAlone)
{
    for (const int framing : kFramings) {
        SCOPED_TRACE(NameOf(framing));
        RunningMeter running(On(SimOptions::Endpoint::Udp, framing, 515));
        ASSERT_TRUE(running.started);
        LineTransport line(ConnectUdp(running.server.BoundPort()), framing);
        for (const QByteArray& garbage : Garbage()) {
            SCOPED_TRACE(garbage.toHex().left(32).toStdString());
            ASSERT_TRUE(line.Send(garbage));
            EXPECT_EQ(line.Ask(kReadTypeCode), kTypeCodeAnswer);
        }
        // Two senders take turns; each gets its own answer.
        LineTransport other(ConnectUdp(running.server.BoundPort()), framing);
        EXPECT_EQ(other.Ask(kReadTypeCode), kTypeCodeAnswer);
        EXPECT_EQ(line.Ask(kReadTypeCode), kTypeCodeAnswer);
    }
}

TEST(HostilePeers, GarbageOnThePseudoTerminalNeverWedgesIt)
{
    for (const int framing : kFramings) {
        SCOPED_TRACE(NameOf(framing));
        RunningMeter running(On(SimOptions::Endpoint::Pty, framing, 515));
        ASSERT_TRUE(running.started);
        LineTransport line(OpenPty(running.server.PtyPath()), framing);
        ASSERT_GE(line.Fd(), 0);
        for (const QByteArray& garbage : Garbage()) {
            SCOPED_TRACE(garbage.toHex().left(32).toStdString());
            ASSERT_TRUE(line.Send(garbage));
            // A stream cannot always tell noise from the start of a frame: a request right behind it may
            // be taken for part of it (a Modbus TCP header made of noise and request bytes can promise
            // more than ever comes), until the meter gives the unfinished frame up after a second of
            // silence. A master repeating its request, as the configurator does, is answered.
            QByteArray answer;
            for (int attempt = 0; attempt < 3 && answer != kTypeCodeAnswer; ++attempt) {
                Drain(line.Fd());
                answer = line.Ask(kReadTypeCode, 2500);
            }
            EXPECT_EQ(answer, kTypeCodeAnswer);
        }
    }
}
