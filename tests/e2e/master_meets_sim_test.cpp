// The driver's Modbus master against the simulated meter over real lines: a pseudo-terminal the
// simulator creates, loopback TCP and UDP, in every framing a user can choose, with both function sets,
// and with each kind of fault the simulator can play. The master's retry and recovery rules must show
// in the exchange log.

#include "channel/port_table.h"
#include "protocol/rovo_redod.h"
#include "sim/meter_simulator.h"
#include "sim/sim_server.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

constexpr int kComNumber = 29;  // where the simulator's pty is put in the port table
// A stretch of the image that no area of the meter claims: it keeps whatever is written.
constexpr int kFreeRegister = 1000;

struct LinkCase {
    SimOptions::Endpoint endpoint;
    int framing;
    std::uint8_t functionSet;
    const char* name;
};

class SimulatedLine {
public:
    SimulatedLine(SimOptions options, std::uint8_t functionSet, int timeoutSec = 1, int attempts = 3)
        : m_meter(std::make_unique<MeterSimulator>(options)), m_server(std::make_unique<SimServer>(*m_meter))
    {
        QString error;
        m_started = m_server->Start(&error);
        EXPECT_TRUE(m_started) << error.toStdString();
        driver.AttachHost(&host);
        driver.SetDeviceAddress(options.address);
        driver.ModbusMaster().SetFunctionSet(functionSet);
        ChannelSettings& settings = driver.TransmitChanel().Settings();
        settings.framing = options.framing;
        settings.answerTimeoutSec = timeoutSec;
        settings.attempts = attempts;
        switch (options.endpoint) {
            case SimOptions::Endpoint::Pty:
                PortTable::Global().Assign(kComNumber, m_server->PtyPath());
                settings.kind = kChannelDirect;
                settings.portNumber = kComNumber;
                settings.byteSize = 8;
                break;
            default:
                settings.kind = kChannelIp;
                settings.tcp = options.endpoint == SimOptions::Endpoint::Tcp ? 1 : 0;
                settings.ipAddress = options.host;
                settings.ipPort = m_server->BoundPort();
                break;
        }
    }

    ~SimulatedLine()
    {
        driver.TransmitChanel().Disconnect();
        m_server->Stop();
    }

    bool Connect() { return m_started && driver.TransmitChanel().Connect(); }

    // Reads `bytes` of the meter's image from `reg` into the same place of `copy`.
    bool Read(int reg, int bytes)
    {
        auto* field = copy.data() + 2 * reg;
        CModbusMaster& master = driver.ModbusMaster();
        const ChannelSettings& s = driver.TransmitChanel().Settings();
        if (master.FunctionSet() == CModbusMaster::kStandardFunctions)
            return master.ReadRegisters(copy.data(), field, bytes, field, s.attempts, s.answerTimeoutSec);
        return master.ReadWrite48(copy.data(), field, 0, copy.data(), field, bytes, field, s.attempts,
                                  s.answerTimeoutSec);
    }

    // Writes `bytes` of `copy` at `reg` into the meter.
    bool Write(int reg, int bytes)
    {
        const auto* field = copy.data() + 2 * reg;
        CModbusMaster& master = driver.ModbusMaster();
        const ChannelSettings& s = driver.TransmitChanel().Settings();
        if (master.FunctionSet() == CModbusMaster::kStandardFunctions)
            return master.WriteRegisters(copy.data(), field, bytes, s.attempts, s.answerTimeoutSec);
        return master.ReadWrite48(copy.data(), field, bytes, copy.data(), field, 0, nullptr, s.attempts,
                                  s.answerTimeoutSec);
    }

    QByteArray MeterBytes(int reg, int bytes)
    {
        std::lock_guard<std::mutex> lock(m_meter->Lock());
        return QByteArray(reinterpret_cast<const char*>(m_meter->Image().At(reg)), bytes);
    }
    QByteArray CopyBytes(int reg, int bytes) const
    {
        return QByteArray(reinterpret_cast<const char*>(copy.data() + 2 * reg), bytes);
    }
    int LogCount(const QString& text) const { return host.LogLines().filter(text).size(); }
    int MeterRequests() const { return m_server->Requests(); }

    CRovoRedod driver;
    RecordingHost host;
    std::array<std::uint8_t, MeterImage::kByteCount> copy{};

private:
    std::unique_ptr<MeterSimulator> m_meter;
    std::unique_ptr<SimServer> m_server;
    bool m_started = false;
};

SimOptions OptionsFor(SimOptions::Endpoint endpoint, int framing)
{
    SimOptions options;
    options.endpoint = endpoint;
    options.framing = framing;
    options.address = 3;
    options.port = 0;
    // The UDP link binds the meter's port on every interface; the meter keeps its own loopback address.
    options.host = endpoint == SimOptions::Endpoint::Udp ? QStringLiteral("127.0.0.2") : QStringLiteral("127.0.0.1");
    return options;
}

}  // namespace

class MasterMeetsSimulator : public ::testing::TestWithParam<LinkCase> {};

TEST_P(MasterMeetsSimulator, WritesAndReadsBackTheImage)
{
    const LinkCase link = GetParam();
    SimulatedLine line(OptionsFor(link.endpoint, link.framing), link.functionSet);
    ASSERT_TRUE(line.Connect()) << line.host.LogLines().join(QLatin1Char('|')).toStdString();

    // The identity block, and a write of 600 bytes (several blocks in either function set) read back.
    ASSERT_TRUE(line.Read(0, 38));
    EXPECT_EQ(line.CopyBytes(0, 38), line.MeterBytes(0, 38));
    EXPECT_EQ(line.copy[0], 0x02);
    EXPECT_EQ(line.copy[1], 0x17);

    for (int i = 0; i < 600; ++i)
        line.copy[2 * kFreeRegister + i] = static_cast<std::uint8_t>(i * 7 + 1);
    const QByteArray written = line.CopyBytes(kFreeRegister, 600);
    ASSERT_TRUE(line.Write(kFreeRegister, 600));
    EXPECT_EQ(line.MeterBytes(kFreeRegister, 600), written);

    std::fill(line.copy.begin(), line.copy.end(), 0);
    ASSERT_TRUE(line.Read(kFreeRegister, 600));
    EXPECT_EQ(line.CopyBytes(kFreeRegister, 600), written);

    // No retries on a clean line, and every block went through the monitor both ways.
    EXPECT_EQ(line.LogCount(QStringLiteral("Повтор")), 0);
    EXPECT_TRUE(line.host.Boxes().isEmpty());
    EXPECT_GE(line.LogCount(QStringLiteral(" Out ->: ")), 3);
    EXPECT_GE(line.LogCount(QStringLiteral(" In  ->: ")), 3);
}

INSTANTIATE_TEST_SUITE_P(EveryLineAndFraming, MasterMeetsSimulator,
                         ::testing::Values(LinkCase{SimOptions::Endpoint::Pty, kFramingRtu, 0, "pty_rtu_standard"},
                                           LinkCase{SimOptions::Endpoint::Pty, kFramingRtu, 1, "pty_rtu_48"},
                                           LinkCase{SimOptions::Endpoint::Pty, kFramingAscii, 0, "pty_ascii_standard"},
                                           LinkCase{SimOptions::Endpoint::Pty, kFramingAscii, 1, "pty_ascii_48"},
                                           LinkCase{SimOptions::Endpoint::Pty, kFramingPpp, 0, "pty_ppp_standard"},
                                           LinkCase{SimOptions::Endpoint::Pty, kFramingPpp, 1, "pty_ppp_48"},
                                           LinkCase{SimOptions::Endpoint::Tcp, kFramingRtu, 0, "tcp_rtu_standard"},
                                           LinkCase{SimOptions::Endpoint::Tcp, kFramingRtu, 1, "tcp_rtu_48"},
                                           LinkCase{SimOptions::Endpoint::Tcp, kFramingAscii, 1, "tcp_ascii_48"},
                                           LinkCase{SimOptions::Endpoint::Tcp, kFramingPpp, 0, "tcp_ppp_standard"},
                                           LinkCase{SimOptions::Endpoint::Tcp, kFramingModbusTcp, 0,
                                                    "tcp_mbap_standard"},
                                           LinkCase{SimOptions::Endpoint::Tcp, kFramingModbusTcp, 1, "tcp_mbap_48"},
                                           LinkCase{SimOptions::Endpoint::Udp, kFramingRtu, 0, "udp_rtu_standard"},
                                           LinkCase{SimOptions::Endpoint::Udp, kFramingAscii, 1, "udp_ascii_48"},
                                           LinkCase{SimOptions::Endpoint::Udp, kFramingPpp, 1, "udp_ppp_48"}),
                         [](const ::testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

namespace {

SimOptions WithFault(SimOptions options, const char* rule)
{
    EXPECT_TRUE(options.faults.AddRule(QString::fromLatin1(rule)).isEmpty()) << rule;
    options.faultDelayMs = 1500;
    return options;
}

}  // namespace

TEST(MasterMeetsFaultySimulator, SilenceAndBadChecksumsAreRetried)
{
    {
        SimulatedLine line(WithFault(OptionsFor(SimOptions::Endpoint::Tcp, kFramingRtu), "drop=1x"), 0);
        ASSERT_TRUE(line.Connect());
        ASSERT_TRUE(line.Read(0, 38));
        EXPECT_EQ(line.LogCount(QStringLiteral("Повтор 1")), 1);
        EXPECT_EQ(line.host.ConnectionTexts().filter(QStringLiteral("Повтор 1")).size(), 1);
        EXPECT_EQ(line.CopyBytes(0, 38), line.MeterBytes(0, 38));
    }
    {
        SimulatedLine line(WithFault(OptionsFor(SimOptions::Endpoint::Pty, kFramingAscii), "corrupt=1x"), 0);
        ASSERT_TRUE(line.Connect());
        ASSERT_TRUE(line.Read(0, 38));
        EXPECT_EQ(line.LogCount(QStringLiteral("Не совпала контрольная сумма!")), 1);
        EXPECT_EQ(line.LogCount(QStringLiteral("Повтор")), 0);
    }
    {
        // Noise ahead of an RTU answer spoils the frame like a bad checksum does.
        SimulatedLine line(WithFault(OptionsFor(SimOptions::Endpoint::Pty, kFramingRtu), "garbage=1x"), 1);
        ASSERT_TRUE(line.Connect());
        ASSERT_TRUE(line.Read(0, 38));
        EXPECT_EQ(line.LogCount(QStringLiteral("Не совпала контрольная сумма!")), 1);
    }
    {
        // A meter that stays silent every time: all attempts, then one message with their number.
        SimulatedLine line(WithFault(OptionsFor(SimOptions::Endpoint::Tcp, kFramingRtu), "drop=1.0"), 0, 1, 2);
        ASSERT_TRUE(line.Connect());
        EXPECT_FALSE(line.Read(0, 38));
        ASSERT_EQ(line.host.Boxes().size(), 1);
        EXPECT_EQ(line.host.Boxes()[0].text, QStringLiteral("Прибор не отвечает на запросы. Выполнено 2 попытки!"));
        EXPECT_EQ(line.MeterRequests(), 2);
    }
}

TEST(MasterMeetsFaultySimulator, EchoIsStrippedAndLateAnswersAreRecovered)
{
    {
        SimulatedLine line(WithFault(OptionsFor(SimOptions::Endpoint::Pty, kFramingRtu), "echo=1.0"), 0);
        ASSERT_TRUE(line.Connect());
        ASSERT_TRUE(line.Read(0, 300));
        EXPECT_EQ(line.CopyBytes(0, 300), line.MeterBytes(0, 300));
        EXPECT_EQ(line.LogCount(QStringLiteral("Повтор")), 0);
        EXPECT_EQ(line.LogCount(QStringLiteral("контрольная сумма")), 0);
    }
    {
        // The answer to the previous 0x48 request arrives first: the master notices the sequence
        // number, listens without sending and takes the true answer that follows.
        SimulatedLine line(WithFault(OptionsFor(SimOptions::Endpoint::Tcp, kFramingRtu), "late=1x"), 1);
        ASSERT_TRUE(line.Connect());
        ASSERT_TRUE(line.Read(0, 38));
        EXPECT_EQ(line.LogCount(QStringLiteral("Получен ответ с номером, не совпадающим с номером запроса")), 1);
        EXPECT_EQ(line.MeterRequests(), 1);
        EXPECT_EQ(line.CopyBytes(0, 38), line.MeterBytes(0, 38));
    }
    {
        // A 0x48 answer held past the time-out arrives while the master waits for its next attempt;
        // in ASCII the scanner takes the newest frame, the true answer behind the stale one.
        SimulatedLine line(WithFault(OptionsFor(SimOptions::Endpoint::Tcp, kFramingAscii), "delay=1x"), 1);
        ASSERT_TRUE(line.Connect());
        ASSERT_TRUE(line.Read(0, 38));
        EXPECT_EQ(line.LogCount(QStringLiteral("Повтор 1")), 1);
        EXPECT_EQ(line.CopyBytes(0, 38), line.MeterBytes(0, 38));
    }
}

TEST(MasterMeetsFaultySimulator, DroppedConnectionFailsCleanlyAndReconnects)
{
    SimulatedLine line(WithFault(OptionsFor(SimOptions::Endpoint::Tcp, kFramingModbusTcp), "close=1x"), 0, 1, 3);
    ASSERT_TRUE(line.Connect());
    EXPECT_FALSE(line.Read(0, 38));
    // The failure was told to the user, and a new connection works.
    EXPECT_FALSE(line.host.Boxes().isEmpty());
    line.driver.TransmitChanel().Disconnect();
    ASSERT_TRUE(line.Connect());
    ASSERT_TRUE(line.Read(0, 38));
    EXPECT_EQ(line.CopyBytes(0, 38), line.MeterBytes(0, 38));
}

TEST(MasterMeetsSimulator, AddressesAndExceptions)
{
    {
        // A request for another meter's address stays unanswered.
        SimOptions options = OptionsFor(SimOptions::Endpoint::Tcp, kFramingRtu);
        SimulatedLine line(options, 0, 1, 1);
        line.driver.SetDeviceAddress(9);
        ASSERT_TRUE(line.Connect());
        EXPECT_FALSE(line.Read(0, 2));
        ASSERT_EQ(line.host.Boxes().size(), 1);
        EXPECT_EQ(line.host.Boxes()[0].text, QStringLiteral("Прибор не отвечает на запросы. Выполнена 1 попытка!"));
        // Address 0 reaches whichever meter is on the line.
        line.driver.SetDeviceAddress(0);
        EXPECT_TRUE(line.Read(0, 2));
    }
    {
        SimulatedLine line(OptionsFor(SimOptions::Endpoint::Tcp, kFramingRtu), 1);
        ASSERT_TRUE(line.Connect());
        EXPECT_FALSE(line.Read(4200, 40));  // past the last register
        ASSERT_EQ(line.host.Boxes().size(), 1);
        EXPECT_EQ(line.host.Boxes()[0].text, QStringLiteral("Недопустимый адрес в запросе!"));
    }
}
