// The channel end to end: a pseudo-terminal with a scripted meter on the far side, and a loopback TCP
// peer.

#include "base/checksums.h"
#include "channel/modem_control.h"
#include "channel/modem_dialer.h"
#include "channel/port_table.h"
#include "channel/transmit_channel.h"
#include "support/crc_frames.h"
#include "support/loopback_peer.h"
#include "support/pty_pair.h"
#include "support/recording_owner.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>

#include <sys/socket.h>

#include <functional>
#include <thread>

namespace {

constexpr int kPortNumber = 29;  // a COM number the tests put their pseudo-terminal under
constexpr int kArrives = 5000;   // generous: "the bytes get there" on a loaded machine

const QByteArray kRead10 = QByteArray::fromHex("01030000000AC5CD");

// A function-3 answer from device 1 with `registers` registers (valid CRC whatever the count).
QByteArray ReadAnswer(int registers)
{
    QByteArray frame = QByteArray::fromHex("0103");
    frame.append(static_cast<char>(2 * registers));
    for (int i = 0; i < 2 * registers; ++i)
        frame.append(static_cast<char>(0x10 + i));
    return ByteArrayWithModbusCrc(frame);
}

const std::uint8_t* Data(const QByteArray& bytes)
{
    return reinterpret_cast<const std::uint8_t*>(bytes.constData());
}

// Runs the far side of a line on its own thread while the test drives the channel.
class Peer {
public:
    explicit Peer(std::function<void()> script) : m_thread(std::move(script)) {}
    ~Peer() { m_thread.join(); }

private:
    std::thread m_thread;
};

struct Answer {
    int result = -1;
    QByteArray bytes;
    qint64 elapsedMs = 0;
};

Answer Read(CTransmitChanel& channel, int timeoutMs, int capacity = kExchangeBufferSize)
{
    std::uint8_t dest[kExchangeBufferSize];
    std::uint16_t length = 0;
    QElapsedTimer clock;
    clock.start();
    Answer answer;
    answer.result = channel.ReadData(dest, capacity, length, timeoutMs);
    answer.elapsedMs = clock.elapsed();
    answer.bytes = QByteArray(reinterpret_cast<const char*>(dest), length);
    return answer;
}

// A modem that is always there: the dialogue itself is tested with the modem, here only what the
// channel does around it.
class ReadyModem : public ModemControl {
public:
    explicit ReadyModem(CTransmitChanel& channel) : m_channel(channel) {}
    int Initialise(const ModemContext&) override
    {
        framingDuringDialogue = m_channel.Settings().framing;
        modemModeDuringDialogue = m_channel.SerialPort().ModemMode();
        return 0;
    }
    int Dial(const ModemContext&) override { return dialResult; }
    int ToCommandMode(const ModemContext&) override { return ++hangUpSteps, 0; }
    int HangUp(const ModemContext&) override { return ++hangUpSteps, 0; }

    int dialResult = 0;
    int framingDuringDialogue = -1;
    int modemModeDuringDialogue = -1;
    int hangUpSteps = 0;

private:
    CTransmitChanel& m_channel;
};

class ChannelOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.IsOpen());
        PortTable::Global().Assign(kPortNumber, pty.SlavePath());
        channel.SetOwner(&owner);
        channel.Settings().portNumber = kPortNumber;
        channel.Settings().byteSize = 8;
    }
    void TearDown() override
    {
        channel.Disconnect();
        PortTable::Global().Assign(kPortNumber, QString());
    }

    PtyPair pty;
    RecordingOwner owner;
    CTransmitChanel channel;
};

}  // namespace

TEST_F(ChannelOverPty, RtuRequestAndAnswerOnADirectLine)
{
    bool openFailed = true;
    ASSERT_TRUE(channel.Connect(&openFailed));
    EXPECT_FALSE(openFailed);
    EXPECT_TRUE(owner.Log().contains(QString::fromUtf8("Открытие канала связи")));

    Peer meter([&] {
        if (pty.ReadMaster(kRead10.size(), kArrives) == kRead10)
            pty.WriteMaster(ReadAnswer(10));
    });
    ASSERT_TRUE(channel.WriteData(Data(kRead10), kRead10.size()));
    const Answer answer = Read(channel, kArrives);
    EXPECT_EQ(answer.result, kReadFrame);
    EXPECT_EQ(answer.bytes, ReadAnswer(10));
    EXPECT_EQ(owner.Transmitted(), kRead10);
    EXPECT_EQ(owner.Received(), ReadAnswer(10));
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST_F(ChannelOverPty, EchoingLineGivesTheAnswerBehindTheEcho)
{
    ASSERT_TRUE(channel.Connect());
    // Function 3 answer 01 03 02 00 2A in each framing's wire form, and what ReadData gives back.
    const struct {
        int framing;
        QByteArray wire;
        QByteArray answer;
    } cases[] = {
        {kFramingRtu, QByteArray::fromHex("010302002A399B"), QByteArray::fromHex("010302002A399B")},
        {kFramingAscii, ":010302002AD0\r\n", QByteArray::fromHex("010302002AD0")},
        {kFramingPpp, QByteArray::fromHex("7E7D217D237D227D202A399B7F"), QByteArray::fromHex("010302002A399B")},
    };
    for (const auto& c : cases) {
        channel.Settings().framing = c.framing;
        channel.Settings().answerLengthCheck = 0;  // the request asks for 10 registers, the answer has 1
        Peer line([&] { pty.WriteMaster(pty.ReadMasterUntilQuiet(100, kArrives) + c.wire); });
        ASSERT_TRUE(channel.WriteData(Data(kRead10), kRead10.size()));
        const Answer got = Read(channel, kArrives);
        EXPECT_EQ(got.result, kReadFrame) << c.framing;
        EXPECT_EQ(got.bytes, c.answer) << c.framing;
    }

    // The echo alone is a silent meter, not a damaged answer.
    Peer line([&] { pty.WriteMaster(pty.ReadMasterUntilQuiet(100, kArrives)); });
    ASSERT_TRUE(channel.WriteData(Data(kRead10), kRead10.size()));
    EXPECT_EQ(Read(channel, 400).result, kReadTimeoutEmpty);
    EXPECT_GT(channel.ReceiveLength(), 0);
}

TEST_F(ChannelOverPty, ShortAnswerWaitsOutTheTimeOut)
{
    ASSERT_TRUE(channel.Connect());
    // 24 bytes with a good CRC do not answer a read of 10 registers.
    const QByteArray short24 = ByteArrayWithModbusCrc(ReadAnswer(10).left(22));
    Peer meter([&] {
        if (pty.ReadMaster(kRead10.size(), kArrives) == kRead10)
            pty.WriteMaster(short24);
    });
    ASSERT_TRUE(channel.WriteData(Data(kRead10), kRead10.size()));
    const Answer answer = Read(channel, 400);
    EXPECT_EQ(answer.result, kReadTimeoutGarbage);
    EXPECT_GE(answer.elapsedMs, 400);
    EXPECT_TRUE(answer.bytes.isEmpty());
    EXPECT_EQ(channel.ReceiveLength(), 24);
}

TEST_F(ChannelOverPty, AsciiAnswerWithWrongLrcIsIgnored)
{
    ASSERT_TRUE(channel.Connect());
    channel.Settings().framing = kFramingAscii;
    Peer meter([&] {
        if (pty.ReadMaster(17, kArrives) == ":01030000000AF2\r\n")
            pty.WriteMaster(":010302002AD1\r\n");
    });
    ASSERT_TRUE(channel.WriteData(Data(kRead10), kRead10.size()));
    EXPECT_EQ(Read(channel, 300).result, kReadTimeoutGarbage);
}

TEST_F(ChannelOverPty, SilenceStopAndCleanDestination)
{
    ASSERT_TRUE(channel.Connect());
    // The destination is zeroed up to its capacity, the out length too.
    std::uint8_t dest[16];
    std::memset(dest, 0xAA, sizeof dest);
    std::uint16_t length = 77;
    EXPECT_EQ(channel.ReadData(dest, 8, length, 50), kReadTimeoutEmpty);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(dest[7], 0);
    EXPECT_EQ(dest[8], 0xAA);

    // A stop from another thread ends a long wait at once.
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        owner.SetStop(true);
    });
    const Answer answer = Read(channel, 30000);
    stopper.join();
    EXPECT_EQ(answer.result, kReadStopped);
    EXPECT_LT(answer.elapsedMs, 5000);
}

TEST_F(ChannelOverPty, AnswerLargerThanTheDestinationIsReported)
{
    ASSERT_TRUE(channel.Connect());
    ASSERT_TRUE(pty.WriteMaster(ReadAnswer(10)));
    EXPECT_EQ(Read(channel, kArrives, 10).result, kReadFailed);
    ASSERT_FALSE(owner.Boxes().isEmpty());
    EXPECT_EQ(owner.Boxes().last().text,
              QString::fromUtf8("Возможно переполнение буфера в CTransmitChanel::ReadData!\r\n"));
    EXPECT_EQ(owner.Boxes().last().caption, QString::fromUtf8("Информация"));
    EXPECT_EQ(owner.Boxes().last().style, 0x40u);
}

TEST_F(ChannelOverPty, ModemLosingTheCarrier)
{
    channel.Settings().kind = kChannelModem;
    channel.Settings().framing = kFramingAscii;
    auto modem = std::make_unique<ReadyModem>(channel);
    ReadyModem* dialogue = modem.get();
    channel.SetModemControl(std::move(modem));

    ASSERT_TRUE(channel.Connect());
    EXPECT_EQ(channel.Settings().modemConnected, 1);
    // The dialogue ran in modem mode with framing 0; afterwards both are back.
    EXPECT_EQ(dialogue->framingDuringDialogue, kFramingRtu);
    EXPECT_EQ(dialogue->modemModeDuringDialogue, 1);
    EXPECT_EQ(channel.Settings().framing, kFramingAscii);
    EXPECT_EQ(channel.SerialPort().ModemMode(), 0);

    ASSERT_TRUE(pty.WriteMaster("\r\nNO CARRIER\r\n"));
    EXPECT_EQ(Read(channel, kArrives).result, kReadFailed);
    EXPECT_EQ(channel.Settings().modemConnected, 0);
    const QString report = QString::fromUtf8("Сообщение от модема: Нет несущей\r\n");
    EXPECT_TRUE(owner.Log().contains(report));
    ASSERT_FALSE(owner.Boxes().isEmpty());
    EXPECT_EQ(owner.Boxes().last().text, report);

    // With the carrier gone there is nothing to hang up: the port is just closed.
    channel.Disconnect();
    EXPECT_EQ(dialogue->hangUpSteps, 0);
    EXPECT_FALSE(channel.SerialPort().IsOpen());
}

TEST_F(ChannelOverPty, ModemConnectAndDisconnect)
{
    channel.Settings().kind = kChannelModem;
    // A new channel dials with the Hayes dialogue.
    EXPECT_NE(dynamic_cast<ModemDialer*>(channel.Modem()), nullptr);
    // No dialogue available: the modem channel does not connect and says why in the log.
    channel.SetModemControl(nullptr);
    EXPECT_FALSE(channel.Connect());
    EXPECT_FALSE(channel.SerialPort().IsOpen());
    EXPECT_TRUE(
        owner.Log().contains(QString::fromUtf8("Управление модемом недоступно: соединение через модем невозможно!")));
    EXPECT_TRUE(owner.Boxes().isEmpty());

    auto modem = std::make_unique<ReadyModem>(channel);
    ReadyModem* dialogue = modem.get();
    channel.SetModemControl(std::move(modem));
    channel.Settings().framing = kFramingPpp;

    dialogue->dialResult = 1;  // nobody answers the call
    bool openFailed = true;
    EXPECT_FALSE(channel.Connect(&openFailed));
    EXPECT_FALSE(openFailed);
    EXPECT_FALSE(channel.SerialPort().IsOpen());
    EXPECT_EQ(channel.Settings().framing, kFramingPpp);
    EXPECT_EQ(channel.Settings().modemConnected, 0);

    dialogue->dialResult = 0;
    ASSERT_TRUE(channel.Connect());
    EXPECT_TRUE(channel.SerialPort().IsOpen());
    EXPECT_TRUE(channel.Disconnect());
    EXPECT_EQ(dialogue->hangUpSteps, 2);
    EXPECT_FALSE(channel.SerialPort().IsOpen());
}

TEST_F(ChannelOverPty, RefusedLineSettingsCloseThePort)
{
    channel.Settings().byteSize = 0;  // what a new channel holds until a node is applied
    bool openFailed = true;
    EXPECT_FALSE(channel.Connect(&openFailed));
    EXPECT_FALSE(openFailed);  // the port itself did open
    EXPECT_FALSE(channel.SerialPort().IsOpen());
    EXPECT_FALSE(owner.Boxes().isEmpty());
}

namespace {

class ChannelOverTcp : public ::testing::Test {
protected:
    void SetUp() override
    {
        channel.SetOwner(&owner);
        channel.Settings().kind = kChannelIp;
        channel.Settings().framing = kFramingModbusTcp;
        channel.Settings().ipAddress = QStringLiteral("127.0.0.1");
    }

    RecordingOwner owner;
    CTransmitChanel channel;
};

}  // namespace

TEST_F(ChannelOverTcp, RefusedConnectionIsAnOpenFailure)
{
    {
        PeerSocket gone(SOCK_STREAM);
        channel.Settings().ipPort = gone.Listen(1);
    }
    bool openFailed = false;
    EXPECT_FALSE(channel.Connect(&openFailed));
    EXPECT_TRUE(openFailed);
    EXPECT_FALSE(channel.IpSocket().IsOpen());
}

TEST_F(ChannelOverTcp, MbapFramesCountTransactions)
{
    PeerSocket listener(SOCK_STREAM);
    channel.Settings().ipPort = listener.Listen(1);
    ASSERT_GT(channel.Settings().ipPort, 0);

    QByteArray requests;
    Peer peer([&] {
        const PeerSocket meter = listener.Accept(kArrives);
        for (int i = 0; i < 2; ++i) {
            const QByteArray request = meter.ReceiveStream(12, kArrives);
            requests += request;
            // The answer carries the request's transaction number and a 5-byte payload.
            meter.Send(request.left(4) + QByteArray::fromHex("0005") + QByteArray::fromHex("0103021234"));
        }
    });
    ASSERT_TRUE(channel.Connect());
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(channel.WriteData(Data(kRead10), kRead10.size()));
        const Answer answer = Read(channel, kArrives);
        EXPECT_EQ(answer.result, kReadFrame);
        EXPECT_EQ(answer.bytes, QByteArray::fromHex("0103021234"));
    }
    channel.Disconnect();
    EXPECT_EQ(requests, QByteArray::fromHex("000000000006 01030000000A 000100000006 01030000000A"));
    EXPECT_EQ(channel.MbapTransaction(), 2);
}
