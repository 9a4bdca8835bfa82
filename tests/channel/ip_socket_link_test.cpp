// The IP link against real loopback peers: a TCP peer thread, UDP peers bound to 127.0.0.2 and a
// stranger on 127.0.0.3.

#include "channel/channel_settings.h"
#include "channel/channel_types.h"
#include "channel/ip_socket_link.h"
#include "sim/meter_simulator.h"
#include "sim/sim_server.h"
#include "support/loopback_peer.h"
#include "support/transport_test_helpers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>

#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace {

QByteArray Frame(int size)
{
    QByteArray frame(size, '\0');
    for (int i = 0; i < size; ++i)
        frame[i] = static_cast<char>('0' + i % 43);
    return frame;
}

const std::uint8_t* Bytes(const QByteArray& bytes)
{
    return reinterpret_cast<const std::uint8_t*>(bytes.constData());
}

// Reads until `want` bytes are in `buffer` or the link gives anything other than bytes.
int ReadBytes(IpSocketLink& link, std::uint8_t* buffer, int want, int& received)
{
    int result = kTransportOk;
    while (received < want && result == kTransportOk)
        result = link.Read(buffer + received, kExchangeBufferSize - received, received, 5000);
    return result;
}
int OpenDescriptors()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

QString SystemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// What a failure says: what was being done, with which peer, then the system's text.
QString TcpFailure(const char* doing, int port, int error, const char* address = "127.0.0.1")
{
    return QStringLiteral("%1 (TCP %2:%3): %4")
        .arg(QString::fromUtf8(doing), QString::fromLatin1(address))
        .arg(port)
        .arg(SystemText(error));
}

// A read that is expected to end without bytes; answers its result and how long it took.
int ReadNothing(IpSocketLink& link, int timeoutMs, qint64& elapsedMs)
{
    std::uint8_t buffer[kExchangeBufferSize] = {};
    int received = 0;
    QElapsedTimer clock;
    clock.start();
    const int result = link.Read(buffer, kExchangeBufferSize, received, timeoutMs);
    elapsedMs = clock.elapsed();
    EXPECT_EQ(received, 0);
    return result;
}

}  // namespace

TEST(IpSocketLinkTcp, RoundTripSendsTheFrameWholeAndMonitorsItOnce)
{
    PeerSocket listener(SOCK_STREAM);
    const int port = listener.Listen(1);
    ASSERT_GT(port, 0);

    const QByteArray request = Frame(2000);
    const QByteArray answer = QByteArray::fromHex("0103020007f986");
    QByteArray seenByPeer;
    std::thread peer([&] {
        const PeerSocket stream = listener.Accept(5000);
        seenByPeer = stream.ReceiveStream(static_cast<int>(request.size()), 5000);
        stream.Send(answer);
    });

    RecordingOwner owner;
    ChannelSettings settings;
    settings.framing = kFramingAscii;  // pieces are for datagrams only
    IpSocketLink link;
    link.SetOwner(&owner);
    link.SetSettings(&settings);
    ASSERT_EQ(link.Open(port, QStringLiteral("127.0.0.1"), true), kTransportOk);
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(link.Write(Bytes(request), static_cast<int>(request.size())), kTransportOk);

    std::uint8_t buffer[kExchangeBufferSize] = {};
    int received = 0;
    EXPECT_EQ(ReadBytes(link, buffer, static_cast<int>(answer.size()), received), kTransportOk);
    peer.join();

    EXPECT_EQ(seenByPeer, request);
    EXPECT_EQ(MonitorBlocks(owner, true), QList<QByteArray>{request});
    ASSERT_EQ(received, answer.size());
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer), received), answer);
    EXPECT_EQ(MonitorBlocks(owner, false).join(), answer);
    EXPECT_TRUE(owner.Boxes().isEmpty());
    EXPECT_EQ(link.Close(), kTransportOk);
    EXPECT_FALSE(link.IsOpen());
}

TEST(IpSocketLinkUdp, AsciiAndStuffedFramesGoOutIn1472BytePiecesRtuInOneDatagram)
{
    PeerSocket meter(SOCK_DGRAM);
    const int port = meter.Bind("127.0.0.2", 0, true);
    ASSERT_GT(port, 0);

    RecordingOwner owner;
    ChannelSettings settings;
    IpSocketLink link;
    link.SetOwner(&owner);
    link.SetSettings(&settings);
    ASSERT_EQ(link.Open(port, QStringLiteral("127.0.0.2"), false), kTransportOk);
    const QByteArray frame = Frame(2000);

    for (const int framing : {kFramingAscii, kFramingPpp}) {
        settings.framing = framing;
        owner.Clear();
        EXPECT_EQ(link.Send(Bytes(frame), static_cast<int>(frame.size())), kTransportOk);
        const QByteArray first = meter.Receive(5000);
        const QByteArray second = meter.Receive(5000);
        EXPECT_EQ(first, frame.left(1472)) << "framing " << framing;
        EXPECT_EQ(second, frame.mid(1472)) << "framing " << framing;
        EXPECT_EQ(MonitorBlocks(owner, true), (QList<QByteArray>{frame.left(1472), frame.mid(1472)}));
    }

    settings.framing = kFramingRtu;
    owner.Clear();
    EXPECT_EQ(link.Send(Bytes(frame), static_cast<int>(frame.size())), kTransportOk);
    EXPECT_EQ(meter.Receive(5000), frame);
    EXPECT_EQ(MonitorBlocks(owner, true), QList<QByteArray>{frame});
    EXPECT_FALSE(meter.WaitReadable(50));

    // Nothing sent: nothing on the wire, nothing in the monitor.
    owner.Clear();
    EXPECT_EQ(link.Send(Bytes(frame), 0), kTransportOk);
    EXPECT_TRUE(MonitorBlocks(owner, true).isEmpty());
    EXPECT_FALSE(meter.WaitReadable(50));
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST(IpSocketLinkUdp, OnlyThePeersDatagramsAreTaken)
{
    PeerSocket meter(SOCK_DGRAM);
    const int port = meter.Bind("127.0.0.2", 0, true);
    ASSERT_GT(port, 0);
    PeerSocket stranger(SOCK_DGRAM);
    ASSERT_GT(stranger.Bind("127.0.0.3", 0, false), 0);

    RecordingOwner owner;
    ChannelSettings settings;
    IpSocketLink link;
    link.SetOwner(&owner);
    link.SetSettings(&settings);
    ASSERT_EQ(link.Open(port, QStringLiteral("127.0.0.2"), false), kTransportOk);

    std::uint8_t buffer[kExchangeBufferSize] = {};
    int received = 0;
    stranger.SendTo("forged", "127.0.0.1", port);
    EXPECT_EQ(link.Read(buffer, kExchangeBufferSize, received, 300), kTransportTimeout);
    EXPECT_EQ(received, 0);

    stranger.SendTo("forged", "127.0.0.1", port);
    meter.SendTo("answer", "127.0.0.1", port);
    EXPECT_EQ(link.Read(buffer, kExchangeBufferSize, received, 5000), kTransportOk);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer), received), QByteArray("answer"));
    EXPECT_EQ(MonitorBlocks(owner, false), QList<QByteArray>{"answer"});
    EXPECT_TRUE(owner.Boxes().isEmpty());

    // A full buffer cannot take anything: reported, the link stays open.
    EXPECT_EQ(link.Read(buffer + received, 0, received, 1000), kTransportFailed);
    ExpectReportedOnce(owner, SystemText(ENOBUFS));
    EXPECT_TRUE(link.IsOpen());
}

TEST(IpSocketLinkTcp, PeerClosingIsATimeoutNotAFailure)
{
    PeerSocket listener(SOCK_STREAM);
    const int port = listener.Listen(1);
    ASSERT_GT(port, 0);
    std::thread peer([&] { listener.Accept(5000); });  // closed at once

    RecordingOwner owner;
    IpSocketLink link;
    link.SetOwner(&owner);
    ASSERT_EQ(link.Open(port, QStringLiteral("127.0.0.1"), true), kTransportOk);
    peer.join();

    qint64 elapsed = 0;
    EXPECT_EQ(ReadNothing(link, 300, elapsed), kTransportTimeout);
    EXPECT_GE(elapsed, 300);
    EXPECT_TRUE(owner.Boxes().isEmpty());
    EXPECT_TRUE(link.IsOpen());
}

TEST(IpSocketLinkTcp, FailedOpenReportsTheSystemTextAndHoldsNoSocket)
{
    // A bound port with nobody listening refuses connections.
    PeerSocket occupied(SOCK_STREAM);
    const int port = occupied.Bind("127.0.0.1", 0, false);
    ASSERT_GT(port, 0);
    const int descriptors = OpenDescriptors();

    RecordingOwner owner;
    IpSocketLink link;
    link.SetOwner(&owner);
    EXPECT_EQ(link.Open(port, QStringLiteral("127.0.0.1"), true), kTransportFailed);
    ExpectReportedOnce(owner, TcpFailure("Не удалось установить соединение", port, ECONNREFUSED));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(OpenDescriptors(), descriptors);

    // The next exchange fails at once, with its own report.
    owner.Clear();
    const QByteArray frame = Frame(8);
    EXPECT_EQ(link.Send(Bytes(frame), static_cast<int>(frame.size())), kTransportFailed);
    ExpectReportedOnce(owner, TcpFailure("Ошибка передачи данных", port, ENOTCONN));
    EXPECT_TRUE(MonitorBlocks(owner, true).isEmpty());

    // An address that is no dotted quad never reaches the network, nor does a name without an address.
    for (const QString& address : {QStringLiteral("192.168.1"), QStringLiteral("nosuchhost.invalid")}) {
        owner.Clear();
        EXPECT_EQ(link.Open(port, address, true), kTransportFailed);
        ExpectReportedOnce(owner, QStringLiteral("Адрес \"%1\" не найден").arg(address));
        EXPECT_EQ(OpenDescriptors(), descriptors);
    }
    // A name with an address is used: here it reaches the port that refuses.
    owner.Clear();
    EXPECT_EQ(link.Open(port, QStringLiteral("localhost"), true), kTransportFailed);
    ExpectReportedOnce(owner, TcpFailure("Не удалось установить соединение", port, ECONNREFUSED, "localhost"));
}

TEST(IpSocketLinkTcp, StopRequestFromAnotherThreadEndsAReadPromptly)
{
    PeerSocket listener(SOCK_STREAM);
    const int port = listener.Listen(1);
    ASSERT_GT(port, 0);

    RecordingOwner owner;
    IpSocketLink link;
    link.SetOwner(&owner);
    ASSERT_EQ(link.Open(port, QStringLiteral("127.0.0.1"), true), kTransportOk);
    const PeerSocket silentPeer = listener.Accept(5000);

    std::thread stopper = StopLater(owner, 100);
    qint64 elapsed = 0;
    EXPECT_EQ(ReadNothing(link, 30000, elapsed), kTransportStopped);
    EXPECT_LT(elapsed, 5000);
    stopper.join();
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST(IpSocketLinkTcp, UnansweredConnectIsStoppableAndBounded)
{
    // A listener whose one-place queue is taken drops further connection requests unanswered.
    PeerSocket listener(SOCK_STREAM);
    const int port = listener.Listen(0);
    ASSERT_GT(port, 0);
    IpSocketLink queued;
    ASSERT_EQ(queued.Open(port, QStringLiteral("127.0.0.1"), true), kTransportOk);
    const int descriptors = OpenDescriptors();

    RecordingOwner owner;
    IpSocketLink link;
    link.SetOwner(&owner);
    std::thread stopper = StopLater(owner, 100);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(link.Open(port, QStringLiteral("127.0.0.1"), true), kTransportStopped);
    EXPECT_LT(clock.elapsed(), IpSocketLink::kConnectTimeoutMs);
    stopper.join();
    EXPECT_TRUE(owner.Boxes().isEmpty());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(OpenDescriptors(), descriptors);

    owner.SetStop(false);
    clock.restart();
    EXPECT_EQ(link.Open(port, QStringLiteral("127.0.0.1"), true), kTransportFailed);
    EXPECT_GE(clock.elapsed(), IpSocketLink::kConnectTimeoutMs);
    ExpectReportedOnce(owner, TcpFailure("Не удалось установить соединение", port, ETIMEDOUT));
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

TEST(IpSocketLinkTcp, ConnectWaitFollowsTheAnswerTimeOutWithinFiveToSixtySeconds)
{
    EXPECT_EQ(IpSocketLink::ConnectTimeoutMs(0), 5000);
    EXPECT_EQ(IpSocketLink::ConnectTimeoutMs(3), 5000);
    EXPECT_EQ(IpSocketLink::ConnectTimeoutMs(17), 17000);
    EXPECT_EQ(IpSocketLink::ConnectTimeoutMs(60), 60000);
    EXPECT_EQ(IpSocketLink::ConnectTimeoutMs(255), 60000);

    // A slow gateway: the listener's queue is full, so the connection request goes unanswered.
    PeerSocket listener(SOCK_STREAM);
    const int port = listener.Listen(0);
    ASSERT_GT(port, 0);
    IpSocketLink queued;
    ASSERT_EQ(queued.Open(port, QStringLiteral("127.0.0.1"), true), kTransportOk);

    RecordingOwner owner;
    IpSocketLink link;
    link.SetOwner(&owner);
    link.SetConnectTimeoutMs(IpSocketLink::ConnectTimeoutMs(6));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(link.Open(port, QStringLiteral("127.0.0.1"), true), kTransportFailed);
    EXPECT_GE(clock.elapsed(), 6000);
    ExpectReportedOnce(owner, TcpFailure("Не удалось установить соединение", port, ETIMEDOUT));

    // However long the wait may be, a stop request ends it within a poll interval or so.
    owner.Clear();
    link.SetConnectTimeoutMs(IpSocketLink::ConnectTimeoutMs(60));
    std::thread stopper = StopLater(owner, 100);
    clock.restart();
    EXPECT_EQ(link.Open(port, QStringLiteral("127.0.0.1"), true), kTransportStopped);
    EXPECT_LT(clock.elapsed(), 1000);
    stopper.join();
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST(IpSocketLinkUdp, ATakenLocalPortFallsBackToAnyAndTheMeterStillAnswers)
{
    // The meter (the simulator) on 127.0.0.2:P; another program holds P on 127.0.0.3 without sharing
    // it, so the link cannot bind P on every interface.
    SimOptions options;
    options.endpoint = SimOptions::Endpoint::Udp;
    options.host = QStringLiteral("127.0.0.2");
    MeterSimulator meter(options);
    SimServer server(meter);
    QString error;
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();
    const int port = server.BoundPort();
    PeerSocket holder(SOCK_DGRAM);
    ASSERT_EQ(holder.Bind("127.0.0.3", port, false), port);

    RecordingOwner owner;
    ChannelSettings settings;
    IpSocketLink link;
    link.SetOwner(&owner);
    link.SetSettings(&settings);
    ASSERT_EQ(link.Open(port, QStringLiteral("127.0.0.2"), false), kTransportOk);
    EXPECT_NE(link.LocalPort(), port);
    EXPECT_GT(link.LocalPort(), 0);
    EXPECT_EQ(owner.Log(),
              QStringList{QStringLiteral("Локальный порт UDP %1 недоступен (%2), обмен идет через порт %3")
                              .arg(port)
                              .arg(SystemText(EADDRINUSE))
                              .arg(link.LocalPort())});
    EXPECT_TRUE(owner.Boxes().isEmpty());

    // Read the type code: 01 03 00 00 00 01 and its CRC 84 0A.
    const QByteArray request = QByteArray::fromHex("010300000001840a");
    ASSERT_EQ(link.Send(Bytes(request), static_cast<int>(request.size())), kTransportOk);
    std::uint8_t buffer[kExchangeBufferSize] = {};
    int received = 0;
    EXPECT_EQ(ReadBytes(link, buffer, 7, received), kTransportOk);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer), received).left(5), QByteArray::fromHex("0103021702"));
    server.Stop();
}
