// What the channel tells its owner when a frame does not fit, a kind or framing is unknown, or the USB
// link fails; and how USB results become ReadData results.

#include "base/utf8_text.h"
#include "channel/transmit_channel.h"
#include "channel/usb_transport.h"
#include "support/recording_owner.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace {

// The channel's reports are a log line and an information box with the same text.
void ExpectReported(const RecordingOwner& owner, const char* text)
{
    ASSERT_FALSE(owner.Boxes().isEmpty()) << text;
    EXPECT_EQ(owner.Boxes().last().text, Utf8(text));
    EXPECT_EQ(owner.Boxes().last().caption, Utf8("Информация"));
    EXPECT_EQ(owner.Boxes().last().style, 0x40u);
    ASSERT_FALSE(owner.Log().isEmpty());
    EXPECT_EQ(owner.Log().last(), Utf8(text));
}

// A USB link that plays back scripted results: each read appends its bytes and returns its result.
class ScriptedUsb : public UsbTransport {
public:
    struct ReadStep {
        std::vector<std::uint8_t> bytes;
        int result = kUsbOk;
    };

    void SetOwner(ChannelOwner* owner) override { this->owner = owner; }
    int Enumerate(std::uint16_t, std::uint16_t, const QString&, const QString&) override { return 0; }
    QString SlotSerialNumber(int) const override { return {}; }
    int Open(std::uint16_t vendorId, std::uint16_t productId, int slot) override
    {
        openedIds = {vendorId, productId, static_cast<std::uint16_t>(slot)};
        open = openResult == kUsbOk;
        return openResult;
    }
    int Close() override
    {
        open = false;
        return closeResult;
    }
    bool IsOpen() const override { return open; }
    int Write(const std::uint8_t* bytes, int count) override
    {
        written.assign(bytes, bytes + count);
        return writeResult;
    }
    int Read(std::uint8_t* buffer, int capacity, int& received, int) override
    {
        if (reads.empty())
            return kUsbTimeout;
        ReadStep step = reads.front();
        reads.pop_front();
        const int count = std::min<int>(capacity, static_cast<int>(step.bytes.size()));
        std::copy(step.bytes.begin(), step.bytes.begin() + count, buffer);
        received += count;
        return step.result;
    }

    ChannelOwner* owner = nullptr;
    std::vector<std::uint16_t> openedIds;
    int openResult = kUsbOk;
    int closeResult = kUsbOk;
    int writeResult = kUsbOk;
    bool open = false;
    std::vector<std::uint8_t> written;
    std::deque<ReadStep> reads;
};

class ChannelReports : public ::testing::Test {
protected:
    void SetUp() override { channel.SetOwner(&owner); }

    bool Prepare(int framing, int length)
    {
        channel.Settings().framing = framing;
        const std::vector<std::uint8_t> frame(static_cast<std::size_t>(length > 0 ? length : 1), 0x41);
        return channel.PrepareBufferByProtocol(frame.data(), length);
    }

    int Read(int timeoutMs = 200)
    {
        std::uint8_t dest[kExchangeBufferSize];
        std::uint16_t length = 0;
        const int result = channel.ReadData(dest, kExchangeBufferSize, length, timeoutMs);
        lastAnswer.assign(dest, dest + length);
        return result;
    }

    ScriptedUsb& InstallUsb()
    {
        auto usb = std::make_unique<ScriptedUsb>();
        ScriptedUsb& link = *usb;
        channel.Settings().kind = kChannelUsb;
        channel.SetUsbTransport(std::move(usb));
        return link;
    }

    RecordingOwner owner;
    CTransmitChanel channel;
    std::vector<std::uint8_t> lastAnswer;
};

}  // namespace

TEST_F(ChannelReports, FramesThatDoNotFitTheBuffer)
{
    const struct {
        int framing;
        int length;
        const char* text;
    } cases[] = {
        {kFramingRtu, 2149, "Ошибка выполнения CTransmitChanel::Send(1.1)!"},
        {kFramingRtu, 1, "Ошибка выполнения CTransmitChanel::Send(1.2)!"},
        {kFramingRtuX25, 1, "Ошибка выполнения CTransmitChanel::Send(1.2)!"},
        {kFramingAscii, 1074, "Ошибка выполнения CTransmitChanel::Send(2.1)!"},
        {kFramingAscii, 0, "Ошибка выполнения CTransmitChanel::Send(2.2)!"},
        {kFramingPpp, 1074, "Ошибка выполнения CTransmitChanel::Send(3.1)!"},
        {kFramingPpp, 1, "Ошибка выполнения CTransmitChanel::Send(3.2)!"},
        {kFramingModbusTcp, 2145, "Ошибка выполнения CTransmitChanel::Send(4.1)!"},
        {kFramingModbusTcp, 1, "Ошибка выполнения CTransmitChanel::Send(4.2)!"},
        {kFramingTransparent, 2149, "Ошибка выполнения CTransmitChanel::Send(1.1)!"},
        {6, 8, "Ошибка выполнения CTransmitChanel::PrepareBufferByProtocol(4.1)!"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Prepare(kFramingRtu, 8));
        EXPECT_FALSE(Prepare(c.framing, c.length)) << c.text;
        ExpectReported(owner, c.text);
        // A refused frame leaves nothing to send.
        EXPECT_EQ(channel.TransmitLength(), 0) << c.text;
    }
    EXPECT_EQ(owner.Boxes().size(), 11);

    // The largest frames that fit.
    EXPECT_TRUE(Prepare(kFramingPpp, 1073));
    EXPECT_TRUE(Prepare(kFramingAscii, 1073));
    EXPECT_EQ(channel.TransmitLength(), 2147);
    EXPECT_TRUE(Prepare(kFramingModbusTcp, 2144));
    EXPECT_EQ(channel.TransmitLength(), 2148);
    EXPECT_EQ(owner.Boxes().size(), 11);
}

TEST_F(ChannelReports, UnknownKindAndFraming)
{
    const std::uint8_t frame[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    channel.Settings().kind = 5;
    EXPECT_FALSE(channel.Connect());
    ExpectReported(owner, "Ошибка выполнения CTransmitChanel::Connect!");
    EXPECT_FALSE(channel.WriteData(frame, sizeof frame));
    ExpectReported(owner, "Ошибка выполнения CTransmitChanel::WriteData!");
    EXPECT_EQ(Read(), kReadFailed);
    ExpectReported(owner, "Ошибка выполнения CTransmitChanel::ReadData!");
    EXPECT_TRUE(channel.Disconnect());
    ExpectReported(owner, "Ошибка выполнения CTransmitChanel::Disconnect!");

    // Disconnect keeps quiet when the owner's window does not want it.
    owner.Clear();
    owner.settings.reportsUnknownKind = false;
    EXPECT_TRUE(channel.Disconnect());
    EXPECT_TRUE(owner.Boxes().isEmpty());

    // A framing nobody knows is found out when the first bytes arrive.
    ScriptedUsb& usb = InstallUsb();
    usb.reads.push_back({{0x01, 0x02}, kUsbOk});
    channel.Settings().framing = 9;
    EXPECT_EQ(Read(), kReadFailed);
    ExpectReported(owner, "Ошибка выполнения CTransmitChanel::ReadData!\r\n");

    // Without an owner nothing is reported and nothing breaks.
    channel.SetOwner(nullptr);
    channel.Settings().kind = 7;
    EXPECT_FALSE(channel.Connect());
    EXPECT_FALSE(channel.WriteData(frame, sizeof frame));
}

TEST_F(ChannelReports, UsbOpenWriteAndClose)
{
    // No USB link, or nothing in the device list yet.
    channel.Settings().kind = kChannelUsb;
    bool openFailed = false;
    EXPECT_FALSE(channel.Connect(&openFailed));
    EXPECT_TRUE(openFailed);
    ExpectReported(owner, "Не удалось открыть USB соединение!!");
    channel.SetUsbTransport(nullptr);
    EXPECT_FALSE(channel.Connect(&openFailed));
    EXPECT_TRUE(openFailed);
    ExpectReported(owner, "Не удалось открыть USB соединение!!");

    ScriptedUsb& usb = InstallUsb();
    EXPECT_EQ(usb.owner, &owner);
    channel.Settings().usbDeviceIndex = 3;
    usb.openResult = kUsbOpenFailed;
    EXPECT_FALSE(channel.Connect(&openFailed));
    EXPECT_TRUE(openFailed);
    usb.openResult = kUsbOk;
    ASSERT_TRUE(channel.Connect(&openFailed));
    EXPECT_FALSE(openFailed);
    EXPECT_EQ(usb.openedIds, (std::vector<std::uint16_t>{0x2047, 0x0301, 3}));

    const std::uint8_t frame[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    EXPECT_TRUE(channel.WriteData(frame, sizeof frame));
    EXPECT_EQ(usb.written, std::vector<std::uint8_t>(frame, frame + sizeof frame));

    owner.Clear();
    usb.writeResult = kUsbStopped;
    EXPECT_FALSE(channel.WriteData(frame, sizeof frame));
    EXPECT_EQ(owner.Log(), QStringList{Utf8("Операция завершена по желанию пользователя!")});
    EXPECT_TRUE(owner.Boxes().isEmpty());
    usb.writeResult = kUsbIoError;
    EXPECT_FALSE(channel.WriteData(frame, sizeof frame));
    ExpectReported(owner, "Не удалось записать данные в USB порт!");

    owner.Clear();
    usb.closeResult = kUsbInvalidHandle;
    EXPECT_TRUE(channel.Disconnect());
    ExpectReported(owner, "Не удалось корректно закрыть USB соединение!!");
    // A link that is not open is not closed again.
    owner.Clear();
    EXPECT_TRUE(channel.Disconnect());
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST_F(ChannelReports, UsbReadResults)
{
    ScriptedUsb& usb = InstallUsb();
    // A message in two pieces makes one frame.
    usb.reads = {{{0x01, 0x83}, kUsbOk}, {{0x02, 0xC0, 0xF1}, kUsbOk}};
    EXPECT_EQ(Read(), kReadFrame);
    EXPECT_EQ(lastAnswer, (std::vector<std::uint8_t>{0x01, 0x83, 0x02, 0xC0, 0xF1}));

    usb.reads = {};
    EXPECT_EQ(Read(), kReadTimeoutEmpty);
    usb.reads = {{{0x01, 0x83}, kUsbOk}};
    EXPECT_EQ(Read(), kReadTimeoutGarbage);
    usb.reads = {{{}, kUsbStopped}};
    EXPECT_EQ(Read(), kReadStopped);
    EXPECT_TRUE(owner.Boxes().isEmpty());
    usb.reads = {{{}, kUsbIoError}};
    EXPECT_EQ(Read(), kReadFailed);
    ExpectReported(owner, "Не удалось прочитать данные из USB порта!");

    // The owner's stop request is seen before the link is asked.
    owner.SetStop(true);
    usb.reads = {{{0x01, 0x83, 0x02, 0xC0, 0xF1}, kUsbOk}};
    EXPECT_EQ(Read(), kReadStopped);
    EXPECT_EQ(usb.reads.size(), 1u);
}
