// A modem channel with its own dialogue against the simulated modem and the meter behind it: a Modbus
// exchange through the call, the far end hanging up, a busy line and hanging up at Disconnect.

#include "base/utf8_text.h"
#include "channel/modem_dialer.h"
#include "channel/transmit_channel.h"
#include "support/crc_frames.h"
#include "support/modem_line.h"
#include "support/recording_owner.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kCom = 26;
// Function 3 from register 0, 7 registers: the meter's identity block.
const std::vector<std::uint8_t> kReadIdentity = WithModbusCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x07});

class ModemChannel : public ::testing::Test {
protected:
    void Open(ModemCallOutcome outcome)
    {
        line = std::make_unique<ModemLine>(ModemLine::FastModem(115200, outcome), kCom);
        ASSERT_TRUE(line->Started()) << line->Error().toStdString();
        channel.SetOwner(&owner);
        channel.SetModemControl(std::make_unique<ModemDialer>(ModemDialerSettings{0.3}));
        ChannelSettings& settings = channel.Settings();
        settings.kind = kChannelModem;
        settings.portNumber = kCom;
        settings.framing = kFramingRtu;
        settings.phoneNumber = QStringLiteral("0123");
    }
    void TearDown() override { channel.Disconnect(); }

    // One request through the channel: the read result and the frame.
    int Exchange(const std::vector<std::uint8_t>& request, QByteArray& answer)
    {
        if (!channel.WriteData(request.data(), static_cast<int>(request.size())))
            return -1;
        std::uint8_t dest[kExchangeBufferSize];
        std::uint16_t length = 0;
        const int result = channel.ReadData(dest, kExchangeBufferSize, length, 3000);
        answer = QByteArray(reinterpret_cast<const char*>(dest), length);
        return result;
    }

    RecordingOwner owner;
    CTransmitChanel channel;
    std::unique_ptr<ModemLine> line;
};

TEST_F(ModemChannel, MeterReadThroughTheCallUntilTheCarrierDrops)
{
    Open(ModemCallOutcome::Connect);
    EXPECT_FALSE(channel.ModemLineUp());
    ASSERT_TRUE(channel.Connect());
    EXPECT_EQ(channel.Settings().modemConnected, 1);
    EXPECT_TRUE(channel.ModemLineUp());
    EXPECT_EQ(channel.SerialPort().ModemMode(), 0);
    EXPECT_TRUE(owner.Log().contains(Utf8("Ответ получен: \"CONNECT 115200\"")));

    QByteArray answer;
    ASSERT_EQ(Exchange(kReadIdentity, answer), kReadFrame);
    ASSERT_EQ(answer.size(), 5 + 14);
    // The identity's first register is the meter's type code.
    EXPECT_EQ(answer.mid(0, 5), QByteArray::fromHex("01030E1702"));

    owner.Clear();
    line->Server().DropCarrier();
    ASSERT_TRUE(line->WaitForState(HayesModem::State::Command));
    EXPECT_EQ(Exchange(kReadIdentity, answer), kReadFailed);
    EXPECT_EQ(channel.Settings().modemConnected, 0);
    EXPECT_FALSE(channel.ModemLineUp());
    ASSERT_FALSE(owner.Boxes().isEmpty());
    EXPECT_EQ(owner.Boxes().first().text, Utf8("Сообщение от модема: Нет несущей\r\n"));
}

// Only a modem channel has a line to keep: the same flag on another kind means nothing.
TEST_F(ModemChannel, LineUpBelongsToTheModemKind)
{
    Open(ModemCallOutcome::Connect);
    ASSERT_TRUE(channel.Connect());
    ASSERT_TRUE(channel.ModemLineUp());
    for (const int kind : {int(kChannelDirect), int(kChannelIp), int(kChannelUsb), int(kChannelSharedMemory), 9}) {
        channel.Settings().kind = kind;
        EXPECT_FALSE(channel.ModemLineUp()) << kind;
    }
    channel.Settings().kind = kChannelModem;
    EXPECT_TRUE(channel.ModemLineUp());
}

TEST_F(ModemChannel, DisconnectHangsUp)
{
    Open(ModemCallOutcome::Connect);
    ASSERT_TRUE(channel.Connect());
    owner.Clear();
    EXPECT_TRUE(channel.Disconnect());
    channel.Settings().modemConnected = 0;  // as the owner does after a Disconnect
    EXPECT_EQ(owner.Transmitted(), QByteArray("+++ATH\r"));
    EXPECT_EQ(line->Server().ModemState(), HayesModem::State::Command);
    EXPECT_FALSE(channel.SerialPort().IsOpen());
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST_F(ModemChannel, BusyLineFailsTheConnect)
{
    Open(ModemCallOutcome::Busy);
    channel.Settings().framing = kFramingAscii;
    bool openFailed = true;
    EXPECT_FALSE(channel.Connect(&openFailed));
    EXPECT_FALSE(openFailed);
    EXPECT_FALSE(channel.SerialPort().IsOpen());
    EXPECT_EQ(channel.Settings().modemConnected, 0);
    EXPECT_FALSE(channel.ModemLineUp());
    EXPECT_EQ(channel.Settings().framing, kFramingAscii);
    QStringList boxes;
    for (const RecordedBox& box : owner.Boxes())
        boxes << box.text;
    EXPECT_EQ(boxes, (QStringList{Utf8("Линия занята!"), Utf8("Операция завершена не успешно!")}));
    EXPECT_TRUE(owner.Transmitted().endsWith("ATDT0123\r"));
}

}  // namespace
