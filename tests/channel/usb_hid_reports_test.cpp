// Messages cut into HID reports and put together again, and every way a transfer can end.

#include "support/transport_test_helpers.h"
#include "support/usb_hid_test_rig.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <thread>

namespace {

QByteArray Counting(int length, int first = 0)
{
    QByteArray bytes;
    for (int i = 0; i < length; ++i)
        bytes.append(static_cast<char>(first + i));
    return bytes;
}

// The output report the meter expects for `data`, padded to 64 bytes.
QByteArray OutputReport(const QByteArray& data)
{
    QByteArray report(64, '\0');
    report[0] = 0x3F;
    report[1] = static_cast<char>(data.size() + 1);
    report[2] = static_cast<char>(data.size());
    report.replace(3, static_cast<int>(data.size()), data);
    return report;
}

int Write(UsbHidLink& link, const QByteArray& message)
{
    return link.Write(reinterpret_cast<const std::uint8_t*>(message.constData()), static_cast<int>(message.size()));
}

class UsbHidReports : public ::testing::Test {
protected:
    void SetUp() override
    {
        meter = rig.PlugMeter("/dev/hidraw1", "S1");
        ASSERT_EQ(rig.ListAndOpen(), kUsbOk);
    }

    // One HID_ReadFile into a fresh buffer of `capacity` bytes, 5 bytes already received.
    int Read(int capacity = 2148, int timeoutMs = 3000)
    {
        buffer.assign(static_cast<std::size_t>(capacity), 0xEE);
        received = 5;
        return rig.link->HID_ReadFile(buffer.data(), capacity, received, timeoutMs);
    }
    QByteArray Got() const { return QByteArray(reinterpret_cast<const char*>(buffer.data()), received - 5); }

    UsbHidRig rig;
    std::shared_ptr<PlayedHidDevice> meter;
    std::vector<std::uint8_t> buffer;
    int received = 0;
};

}  // namespace

TEST_F(UsbHidReports, MessagesCutIntoReports)
{
    // Five bytes: one report 3F 06 05, the bytes, zero padding; the monitor sees the whole report.
    const QByteArray five("\x01\x03\x00\x00\x00", 5);
    EXPECT_EQ(Write(*rig.link, five), kUsbOk);
    ASSERT_EQ(meter->OutputReports().size(), 1);
    EXPECT_EQ(meter->OutputReports()[0].toHex(), OutputReport(five).toHex());
    EXPECT_EQ(MonitorBlocks(rig.owner, true), QList<QByteArray>{OutputReport(five)});

    // 61 bytes: a full report and an empty one that ends the message.
    const QByteArray full = Counting(61, 0x10);
    EXPECT_EQ(Write(*rig.link, full), kUsbOk);
    ASSERT_EQ(meter->OutputReports().size(), 3);
    EXPECT_EQ(meter->OutputReports()[1], OutputReport(full));
    EXPECT_EQ(meter->OutputReports()[2].toHex(), QByteArray("3f0100").append(QByteArray(61, '\0').toHex()));

    // 130 bytes: 61 + 61 + 8, paced 10 ms apart.
    const QByteArray longer = Counting(130, 0x80);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Write(*rig.link, longer), kUsbOk);
    EXPECT_GE(clock.elapsed(), 20);
    ASSERT_EQ(meter->OutputReports().size(), 6);
    EXPECT_EQ(meter->OutputReports()[5], OutputReport(longer.mid(122)));
    EXPECT_EQ(meter->Messages(), (QList<QByteArray>{five, full, longer}));
    EXPECT_EQ(MonitorBlocks(rig.owner, true).size(), 6);

    // An empty message is one empty report.
    EXPECT_EQ(rig.link->Write(nullptr, 0), kUsbOk);
    EXPECT_EQ(meter->OutputReports().last(), OutputReport({}));
}

TEST_F(UsbHidReports, WriteFailures)
{
    // The owner's USB stop request: nothing goes out.
    rig.owner.SetUsbStop(true);
    EXPECT_EQ(Write(*rig.link, "abc"), kUsbStopped);
    EXPECT_TRUE(meter->OutputReports().isEmpty());
    rig.owner.SetUsbStop(false);

    meter->writeTimesOut = true;
    EXPECT_EQ(Write(*rig.link, "abc"), kUsbTimeout);
    meter->writeTimesOut = false;

    // A device whose output report cannot hold 61 data bytes gets no truncated message.
    meter->outputLength = 32;
    ASSERT_EQ(rig.link->Open(kUsbVendorId, kUsbProductId, 0), kUsbOk);
    EXPECT_EQ(Write(*rig.link, Counting(29)), kUsbOk);
    EXPECT_EQ(meter->OutputReports().last().size(), 32);
    EXPECT_EQ(Write(*rig.link, Counting(30)), kUsbIoError);
    EXPECT_EQ(meter->OutputReports().size(), 1);

    meter->Unplug();
    EXPECT_EQ(Write(*rig.link, "abc"), kUsbIoError);
    rig.link->Close();
    EXPECT_EQ(Write(*rig.link, "abc"), kUsbNotOpen);
}

TEST_F(UsbHidReports, AnswersPutTogether)
{
    // 150 bytes in three reports, behind a report of another id: the foreign report is shown and
    // skipped, the message is added after what the caller held.
    const QByteArray answer = Counting(150, 0x20);
    meter->QueueReport(QByteArray("\x02\x09\x08whatever", 11));
    meter->QueueMessage(answer);
    EXPECT_EQ(Read(), kUsbOk);
    EXPECT_EQ(received, 155);
    EXPECT_EQ(Got(), answer);
    EXPECT_EQ(buffer[150], 0) << "the rest of the buffer is cleared";
    const QList<QByteArray> shown = MonitorBlocks(rig.owner, false);
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[0], QByteArray("\x02\x09\x08whatever", 11));
    EXPECT_EQ(shown[1].size(), 64);
    EXPECT_EQ(shown[1].left(3), QByteArray("\x3F\x3E\x3D"));

    // Exactly 61 bytes end with an empty report; too short and lying reports are taken for what
    // they hold: a report of 2 bytes carries nothing, one that claims 40 bytes but brings 7 gives 7.
    meter->QueueMessage(Counting(61));
    EXPECT_EQ(Read(), kUsbOk);
    EXPECT_EQ(Got(), Counting(61));
    meter->QueueReport(QByteArray("\x3F\x01", 2));
    meter->QueueReport(
        QByteArray("\x3F\x29\x28"
                   "1234567",
                   10));
    EXPECT_EQ(Read(), kUsbOk);
    EXPECT_EQ(Got(), QByteArray("1234567"));

    // A message longer than the room left: 7.
    meter->QueueMessage(Counting(100));
    EXPECT_EQ(Read(80), kUsbTooLong);
    EXPECT_EQ(received, 5);
}

TEST_F(UsbHidReports, TimeOutStopAndUnplug)
{
    // Nothing comes: 4 once the caller's time has passed.
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Read(2148, 120), kUsbTimeout);
    EXPECT_GE(clock.elapsed(), 120);
    EXPECT_EQ(received, 5);

    // A meter that starts an answer and stalls is a time-out too, not a hang.
    meter->QueueReport(OutputReport(Counting(61)));
    EXPECT_EQ(Read(2148, 120), kUsbTimeout);

    // The stop request, raised while the link waits, ends the wait.
    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        rig.owner.SetUsbStop(true);
    });
    EXPECT_EQ(Read(2148, 60000), kUsbStopped);
    stopper.join();
    rig.owner.SetUsbStop(false);

    // Unplugged while the link waits, or halfway through a message: 5 at once.
    std::thread unplugger([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        meter->Unplug();
    });
    EXPECT_EQ(Read(2148, 60000), kUsbIoError);
    unplugger.join();

    meter = rig.PlugMeter("/dev/hidraw2", "S2");
    ASSERT_EQ(rig.ListAndOpen(), kUsbOk);
    meter->unplugAfterReports = 1;
    meter->QueueMessage(Counting(150));
    EXPECT_EQ(Read(2148, 60000), kUsbIoError);
    EXPECT_EQ(meter->InputReportsTaken(), 1);

    rig.link->Close();
    EXPECT_EQ(Read(), kUsbNotOpen);
}

TEST_F(UsbHidReports, LateAnswerDroppedBeforeTheNextRequest)
{
    // The answer to a request that timed out arrives afterwards; the next request must not take it.
    meter->QueueMessage("late");
    rig.owner.Clear();
    meter->answer = [](const QByteArray& message) { return "re:" + message; };
    EXPECT_EQ(Write(*rig.link, "next"), kUsbOk);
    EXPECT_EQ(Read(), kUsbOk);
    EXPECT_EQ(Got(), QByteArray("re:next"));
    // Both answers were shown in the monitor, the late one first.
    const QList<QByteArray> shown = MonitorBlocks(rig.owner, false);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].mid(3, 4), QByteArray("late"));
}
