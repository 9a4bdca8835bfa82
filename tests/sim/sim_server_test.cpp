// The simulated meter on real lines: its server on loopback TCP and on its own pseudo-terminal, asked
// in the framings of the product's channel (the same encoders and answer recognisers).
#include "support/sim_line.h"
#include "support/slave_client.h"

#include "sim/event_logs.h"
#include "sim/meter_archives.h"
#include "sim/meter_areas.h"
#include "sim/sim_server.h"

#include "base/checksums.h"
#include "channel/channel_types.h"
#include "channel/wire_framing.h"

#include <gtest/gtest.h>

#include <chrono>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

TEST(SimServer, ConfigurationWrittenOverTcpIsWhatIsReadBack)
{
    RunningMeter running(On(SimOptions::Endpoint::Tcp, kFramingRtu, 511));
    ASSERT_TRUE(running.started);
    LineTransport line(ConnectTcp(running.server.BoundPort()), kFramingRtu);
    SlaveClient client([&line](const QByteArray& unit) { return line.Ask(unit); });

    QByteArray record = client.Read(MeterArea::kTunes, 574).bytes;  // three reads at level 511
    ASSERT_EQ(record.size(), 574);
    record[0] = 5;
    record[573] = '\x33';
    QByteArray open = client.Read(MeterArea::kOpenSettings, 22).bytes;
    open[3] = '9';
    ASSERT_EQ(WriteConfiguration(client, record, open), 0);
    EXPECT_EQ(client.Read(MeterArea::kTunes, 574).bytes, record);
    EXPECT_EQ(client.Read(MeterArea::kOpenSettings, 22).bytes, open);
    // Without command 1 the record stays as it is.
    record[0] = 6;
    EXPECT_EQ(client.Write(MeterArea::kTunes, record), SlaveException::kAccessDenied);
    EXPECT_EQ(client.Read(MeterArea::kTunes, 1).bytes[0], 5);
}

TEST(SimServer, ArchivesWalkedOverModbusTcpWith0x48)
{
    RunningMeter running(On(SimOptions::Endpoint::Tcp, kFramingModbusTcp, 515));
    ASSERT_TRUE(running.started);
    LineTransport line(ConnectTcp(running.server.BoundPort()), kFramingModbusTcp);
    SlaveClient client([&line](const QByteArray& unit) { return line.Ask(unit); });

    const auto dates = client.Read(MeterArea::kDescriptorDates, 54).As<DescriptorDatesArea>();
    const ReportTime report{23, 25};
    int count = 0;
    for (TChronoArch date = ChronoOf(dates.firstRecord[kArchiveDaily]);
         HourDifference(date, ChronoOf(dates.lastRecord[kArchiveDaily])) < 0;
         date = StepArchiveDate(kArchiveDaily, date, 1, report), ++count) {
        const SlaveReply reply = client.WriteRead48(
            MeterArea::kArchiveRequest, SlaveClient::Bytes(ValueArchiveRequest(kArchiveDaily, StampOf(date))),
            MeterArea::kArchiveRecord, 218);
        ASSERT_TRUE(reply.Ok());
        std::lock_guard<std::mutex> lock(running.meter.Lock());
        ASSERT_EQ(reply.bytes, running.meter.Archives().RecordBytes(kArchiveDaily, date, report, 515, 0));
    }
    EXPECT_EQ(count, 40);
}

TEST(SimServer, ClockAndEventLogOverItsPseudoTerminalInAscii)
{
    RunningMeter running(On(SimOptions::Endpoint::Pty, kFramingAscii, 521));
    ASSERT_TRUE(running.started);
    LineTransport line(OpenPty(running.server.PtyPath()), kFramingAscii);
    SlaveClient client([&line](const QByteArray& unit) { return line.Ask(unit); });

    EXPECT_EQ(client.Read(MeterArea::kIdentity, 2).bytes, QByteArray("\x02\x17", 2));
    const DateTimeStamp wanted{2, 1, 25, 3, 4, 5};
    ASSERT_EQ(client.ServiceCommand(9, SlaveClient::Bytes(wanted)), 0);
    const auto clock = client.Read(MeterArea::kCurrentValues, 6).As<DateTimeStamp>();
    EXPECT_LE(SecondsOf(clock) - SecondsOf(wanted), 5);
    EXPECT_GE(SecondsOf(clock), SecondsOf(wanted));

    // The administrative log ends with the clock set and the erase it caused.
    const auto logs = client.Read(MeterArea::kDescriptorEventLogs, 24).As<DescriptorEventLogArea>();
    const auto first = static_cast<std::uint16_t>(logs.eventLogs[kEventLogAdministrative].writeIndex - 2);
    ASSERT_EQ(client.Write(MeterArea::kArchiveRequest,
                           SlaveClient::Bytes(EventLogRequest(kEventLogAdministrative, first, 2))),
              0);
    const SlaveReply entries = client.Read(EventLogReceiveArea(kEventLogAdministrative), 32);
    ASSERT_TRUE(entries.Ok());
    const auto set = entries.As<EventRecord>();
    const auto erased = SlaveReply{0, entries.bytes.mid(16)}.As<EventRecord>();
    EXPECT_EQ(set.QuantityType(), MeterEvent::kClockSet);
    EXPECT_EQ(set.ValueKind(), kEventValueChrono);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(set.newValue), 4), SlaveClient::Bytes(ChronoOf(wanted)));
    EXPECT_EQ(erased.QuantityType(), MeterEvent::kArchiveErased);
}

TEST(SimServer, AnswerArrivesNoSoonerThanTheLineAtItsBaudRateAllows)
{
    SimOptions options = On(SimOptions::Endpoint::Tcp, kFramingRtu, 515);
    options.baudDelay = 9600;
    RunningMeter running(options);
    ASSERT_TRUE(running.started);
    LineTransport line(ConnectTcp(running.server.BoundPort()), kFramingRtu);
    const auto start = std::chrono::steady_clock::now();
    // 8 + 255 bytes and the 3.5-character gap at 9600 baud take 305.4 ms.
    const QByteArray answer = line.Ask(QByteArray::fromHex("01030000007D"));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(answer.size(), 253);
    EXPECT_GE(took, std::chrono::microseconds(305'364));
}
