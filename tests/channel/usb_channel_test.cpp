// The channel of kind USB end to end: Modbus requests go through CTransmitChanel and the USB link to a
// played device, whose answers come from the simulated meter.

#include "channel/transmit_channel.h"
#include "channel/usb_hid_link.h"
#include "meter/register_map.h"
#include "sim/meter_session.h"
#include "sim/meter_simulator.h"
#include "support/crc_frames.h"
#include "support/played_hid_device.h"
#include "support/transport_test_helpers.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

namespace {

// The simulated meter answering whole messages in the line's framing.
class SimulatedAnswers {
public:
    explicit SimulatedAnswers(int framing)
        : m_meter(SimOptions{}), m_session(m_meter.Slave(), m_meter.Faults(), SessionSettings{framing})
    {}

    QByteArray Answer(const QByteArray& message)
    {
        std::lock_guard<std::mutex> lock(m_meter.Lock());
        m_session.Feed(reinterpret_cast<const std::uint8_t*>(message.constData()), static_cast<int>(message.size()));
        m_session.LineQuiet();
        QByteArray answer;
        for (const SimAction& action : m_session.TakeActions()) {
            if (action.type == SimAction::Send)
                answer += action.bytes;
        }
        return answer;
    }

    // Registers as the meter holds them, high byte first.
    QByteArray Registers(int start, int count)
    {
        std::lock_guard<std::mutex> lock(m_meter.Lock());
        QByteArray wire(2 * count, '\0');
        m_meter.Image().ToWire(start, count, reinterpret_cast<std::uint8_t*>(wire.data()));
        return wire;
    }

private:
    MeterSimulator m_meter;
    MeterSession m_session;
};

class UsbChannel : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<PlayedHidBackend>();
        system = backend.get();
        auto usb = std::make_unique<UsbHidLink>(std::move(backend));
        link = usb.get();
        channel.SetOwner(&owner);
        channel.SetUsbTransport(std::move(usb));
        channel.Settings().kind = kChannelUsb;
        meter = std::make_shared<PlayedHidDevice>("/dev/hidraw3", QStringLiteral("ZT5-0042"));
        system->Plug(meter);
    }

    // The channel selection dialog's refresh, then Connect with the slot it chose.
    bool ListAndConnect(bool* openFailed = nullptr)
    {
        const int listed = channel.Usb()->Enumerate(kUsbVendorId, kUsbProductId, QString::fromUtf8(kUsbManufacturer),
                                                    QString::fromUtf8(kUsbProduct));
        EXPECT_EQ(listed, 1);
        EXPECT_EQ(channel.Usb()->SlotSerialNumber(0), QStringLiteral("ZT5-0042"));
        channel.Settings().usbDeviceIndex = 0;
        return channel.Connect(openFailed);
    }

    void AnswerFromSimulator(int framing)
    {
        auto simulated = std::make_shared<SimulatedAnswers>(framing);
        sim = simulated;
        meter->answer = [simulated](const QByteArray& message) { return simulated->Answer(message); };
    }

    int Exchange(const std::vector<std::uint8_t>& request, int timeoutMs = 3000)
    {
        if (!channel.WriteData(request.data(), static_cast<int>(request.size())))
            return -1;
        std::uint8_t dest[kExchangeBufferSize];
        std::uint16_t length = 0;
        const int result = channel.ReadData(dest, kExchangeBufferSize, length, timeoutMs);
        answer = QByteArray(reinterpret_cast<const char*>(dest), length);
        return result;
    }

    RecordingOwner owner;
    CTransmitChanel channel;
    PlayedHidBackend* system = nullptr;
    UsbHidLink* link = nullptr;
    std::shared_ptr<PlayedHidDevice> meter;
    std::shared_ptr<SimulatedAnswers> sim;
    QByteArray answer;
};

std::vector<std::uint8_t> ReadRequest(int start, int count)
{
    return WithModbusCrc({0x01, 0x03, static_cast<std::uint8_t>(start >> 8), static_cast<std::uint8_t>(start),
                          static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count)});
}

}  // namespace

TEST_F(UsbChannel, ReadsRegistersFromTheMeterOverReports)
{
    AnswerFromSimulator(kFramingRtu);
    bool openFailed = true;
    ASSERT_TRUE(ListAndConnect(&openFailed));
    EXPECT_FALSE(openFailed);
    EXPECT_EQ(owner.Log(), QStringList{QString::fromUtf8("Открытие канала связи")});

    // 100 configuration registers: a 205-byte answer in four reports.
    const int start = AreaRegister(MeterArea::kTunes);
    const std::vector<std::uint8_t> request = ReadRequest(start, 100);
    ASSERT_EQ(Exchange(request), kReadFrame);
    ASSERT_EQ(answer.size(), 205);
    EXPECT_EQ(answer.left(3), QByteArray("\x01\x03\xC8", 3));
    EXPECT_EQ(answer.mid(3, 200), sim->Registers(start, 100));
    EXPECT_EQ(meter->Messages().last(), QByteArray(reinterpret_cast<const char*>(request.data()), 8));
    EXPECT_EQ(MonitorBlocks(owner, false).size(), 4);
    ASSERT_EQ(MonitorBlocks(owner, true).size(), 1);
    EXPECT_EQ(MonitorBlocks(owner, true)[0].size(), 64);

    // A register the meter does not have: its exception answer comes through as a frame.
    ASSERT_EQ(Exchange(ReadRequest(5000, 1)), kReadFrame);
    EXPECT_EQ(answer.toHex(), QByteArray("018302c0f1"));
    EXPECT_TRUE(owner.Boxes().isEmpty());

    EXPECT_TRUE(channel.Disconnect());
    EXPECT_FALSE(link->IsOpen());
    EXPECT_FALSE(meter->Opened());
}

TEST_F(UsbChannel, AsciiFramingOverUsb)
{
    AnswerFromSimulator(kFramingAscii);
    channel.Settings().framing = kFramingAscii;
    ASSERT_TRUE(ListAndConnect());
    const int start = AreaRegister(MeterArea::kIdentity);
    ASSERT_EQ(Exchange(ReadRequest(start, 19)), kReadFrame);
    // The device got the ASCII text itself, colon to CR LF.
    const QByteArray sent(reinterpret_cast<const char*>(channel.TransmitBuffer()), channel.TransmitLength());
    EXPECT_TRUE(sent.startsWith(':') && sent.endsWith("\r\n"));
    EXPECT_EQ(meter->Messages().last(), sent);
    ASSERT_EQ(answer.size(), 3 + 38 + 1);
    EXPECT_EQ(answer.mid(3, 38), sim->Registers(start, 19));
}

TEST_F(UsbChannel, FailuresReachTheUser)
{
    // A listed meter replaced by another one with the same path: not opened.
    ASSERT_EQ(channel.Usb()->Enumerate(kUsbVendorId, kUsbProductId, QString::fromUtf8(kUsbManufacturer),
                                       QString::fromUtf8(kUsbProduct)),
              1);
    meter->serialNumber = QStringLiteral("ZT5-0043");
    bool openFailed = false;
    EXPECT_FALSE(channel.Connect(&openFailed));
    EXPECT_TRUE(openFailed);
    EXPECT_EQ(owner.Boxes().last().text, QString::fromUtf8("Не удалось открыть USB соединение!!"));
    meter->serialNumber = QStringLiteral("ZT5-0042");
    owner.Clear();
    ASSERT_TRUE(ListAndConnect());

    // A meter that never answers: time-out with nothing (1).
    meter->stalled = true;
    EXPECT_EQ(Exchange(ReadRequest(0, 1), 150), kReadTimeoutEmpty);

    // The USB stop request while the channel waits: 3, nothing told.
    owner.Clear();
    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        owner.SetUsbStop(true);
    });
    EXPECT_EQ(Exchange(ReadRequest(0, 1), 60000), kReadStopped);
    stopper.join();
    EXPECT_TRUE(owner.Boxes().isEmpty());
    // Still raised when the next request goes out.
    EXPECT_FALSE(channel.WriteData(ReadRequest(0, 1).data(), 8));
    EXPECT_EQ(owner.Log().last(), QString::fromUtf8("Операция завершена по желанию пользователя!"));
    EXPECT_TRUE(owner.Boxes().isEmpty());
    owner.SetUsbStop(false);

    // Unplugged halfway through the answer: the channel tells the user, and does not hang.
    AnswerFromSimulator(kFramingRtu);
    meter->stalled = false;
    meter->unplugAfterReports = meter->InputReportsTaken() + 1;
    owner.Clear();
    EXPECT_EQ(Exchange(ReadRequest(AreaRegister(MeterArea::kTunes), 100), 60000), kReadFailed);
    ExpectReportedOnce(owner, QString::fromUtf8("Не удалось прочитать данные из USB порта!"));

    // Writing to it now fails, and so does closing a handle the system lost.
    owner.Clear();
    EXPECT_FALSE(channel.WriteData(ReadRequest(0, 1).data(), 8));
    ExpectReportedOnce(owner, QString::fromUtf8("Не удалось записать данные в USB порт!"));
    owner.Clear();
    meter->handleValid = false;
    EXPECT_TRUE(channel.Disconnect());
    ExpectReportedOnce(owner, QString::fromUtf8("Не удалось корректно закрыть USB соединение!!"));
}
