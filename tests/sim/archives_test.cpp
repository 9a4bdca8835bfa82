#include "support/slave_client.h"

#include "sim/event_logs.h"
#include "sim/maintenance_commands.h"
#include "sim/meter_archives.h"
#include "sim/meter_areas.h"

#include "archives/record_bytes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr TChronoArch kEnd{10, 3, 24, 12};  // 10.03.2024 12:00
constexpr ReportTime kFactoryReport{23, 25};

SimOptions Fixed(std::uint16_t level = 515, int days = 92)
{
    SimOptions options;
    options.seed = 5;
    options.identity.firmwareLevel = level;
    options.archives = ArchiveSpan{days, true, kEnd};
    return options;
}

QByteArray Bytes(const DateTimeStamp& stamp)
{
    return SlaveClient::Bytes(stamp);
}
QByteArray Bytes(const TChronoArch& date)
{
    return SlaveClient::Bytes(date);
}

DateTimeStamp Stamp(int day, int month, int year, int hour)
{
    return DateTimeStamp{std::uint8_t(day), std::uint8_t(month), std::uint8_t(year), std::uint8_t(hour), 0, 0};
}

// Request and record in one 0x48 transfer, as the configurator reads an archive record.
SlaveReply ReadRecord(SlaveClient& client, ArchiveKind kind, TChronoArch date, int bytes = 232)
{
    const ArchiveRequest request = ValueArchiveRequest(kind, StampOf(date));
    const MeterArea area = kind == kArchiveTotals ? MeterArea::kTotalsRecord : MeterArea::kArchiveRecord;
    return client.WriteRead48(MeterArea::kArchiveRequest, SlaveClient::Bytes(request), area, bytes);
}

ArchiveDescriptors ReadDescriptors(SlaveClient& client)
{
    ArchiveDescriptors descriptors{};
    descriptors.dates = client.Read(MeterArea::kDescriptorDates, 54).As<DescriptorDatesArea>();
    descriptors.capacities = client.Read(MeterArea::kDescriptorCapacities, 38).As<DescriptorCapacityArea>();
    descriptors.logs = client.Read(MeterArea::kDescriptorEventLogs, 24).As<DescriptorEventLogArea>();
    return descriptors;
}

}  // namespace

TEST(MeterArchives, DescriptorsDescribeTheSpanAndTheLevelsRecordSizes)
{
    MeterSimulator meter(Fixed());
    SlaveClient client(meter);
    const ArchiveDescriptors d = ReadDescriptors(client);
    // 92 days before 10.03.2024 12:00; each archive's last date is the record being filled.
    EXPECT_EQ(Bytes(d.dates.resetDate), Bytes(Stamp(9, 12, 23, 12)));
    EXPECT_EQ(Bytes(d.FirstRecord(kArchiveHourly)), Bytes(Stamp(9, 12, 23, 13)));
    EXPECT_EQ(Bytes(d.LastRecord(kArchiveHourly)), Bytes(Stamp(10, 3, 24, 13)));
    EXPECT_EQ(Bytes(d.FirstRecord(kArchiveDaily)), Bytes(Stamp(9, 12, 23, 23)));
    EXPECT_EQ(Bytes(d.LastRecord(kArchiveDaily)), Bytes(Stamp(10, 3, 24, 23)));
    EXPECT_EQ(Bytes(d.FirstRecord(kArchiveMonthly)), Bytes(Stamp(25, 12, 23, 23)));
    EXPECT_EQ(Bytes(d.LastRecord(kArchiveMonthly)), Bytes(Stamp(25, 3, 24, 23)));
    EXPECT_EQ(Bytes(d.FirstRecord(kArchiveTotals)), Bytes(Stamp(9, 12, 23, 23)));
    const int written[] = {92 * 24, 92, 3, 92};
    const int sizes[] = {218, 218, 218, 232};
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        const CapacityEntry capacity = d.Capacity(kind);
        EXPECT_EQ(Value(capacity.maxRecords), MeterArchives::kCapacity[kind]);
        EXPECT_EQ(Value(capacity.writeIndex), written[kind]);
        EXPECT_EQ(Value(capacity.recordSize), sizes[kind]);
        EXPECT_FALSE(capacity.Overwrites());
    }
    for (int log = 0; log < kEventLogCount; ++log) {
        EXPECT_EQ(Value(d.LogCapacity(log).maxRecords), EventLogs::kCapacity[log]);
        EXPECT_EQ(Value(d.LogCapacity(log).recordSize), 16);
        EXPECT_GT(Value(d.LogCapacity(log).writeIndex), 0);
    }

    for (const auto& [level, recordSize, totalsSize] : {std::tuple{511, 206, 220}, {512, 208, 220}, {514, 208, 220}}) {
        MeterSimulator older(Fixed(static_cast<std::uint16_t>(level)));
        SlaveClient olderClient(older);
        const ArchiveDescriptors od = ReadDescriptors(olderClient);
        EXPECT_EQ(Value(od.Capacity(kArchiveHourly).recordSize), recordSize) << level;
        EXPECT_EQ(Value(od.Capacity(kArchiveTotals).recordSize), totalsSize) << level;
    }
}

TEST(MeterArchives, TheExportWalkReadsEveryFinishedRecordAndNothingElse)
{
    MeterSimulator meter(Fixed());
    SlaveClient client(meter);
    const ArchiveDescriptors d = ReadDescriptors(client);
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        SCOPED_TRACE(kind);
        const auto archive = static_cast<ArchiveKind>(kind);
        const TChronoArch last = ChronoOf(d.LastRecord(kind));
        TChronoArch date = ChronoOf(d.FirstRecord(kind));
        EXPECT_EQ(ReadRecord(client, archive, StepArchiveDate(archive, date, -1, kFactoryReport)).exception,
                  SlaveException::kNoDataForDate);
        int count = 0;
        for (; HourDifference(date, last) < 0; date = StepArchiveDate(archive, date, 1, kFactoryReport), ++count) {
            const SlaveReply reply = ReadRecord(client, archive, date);
            ASSERT_TRUE(reply.Ok()) << count;
            const int size = kind == kArchiveTotals ? 232 : 218;
            ASSERT_EQ(reply.bytes.left(size), meter.Archives().RecordBytes(archive, date, kFactoryReport, 515, 0));
            ASSERT_EQ(Bytes(reply.As<TChronoArch>()), Bytes(date));
        }
        EXPECT_EQ(count, Value(d.Capacity(kind).writeIndex));
        EXPECT_EQ(ReadRecord(client, archive, last).exception, SlaveException::kNoDataForDate);
    }
}

TEST(MeterArchives, LowerLevelsSendShorterRecordsAndTheRestStaysZero)
{
    for (const auto& [level, recordSize, totalsSize] : {std::tuple{511, 206, 220}, {514, 208, 220}}) {
        MeterSimulator meter(Fixed(static_cast<std::uint16_t>(level)));
        SlaveClient client(meter);
        const TChronoArch date{1, 3, 24, 23};
        const QByteArray full = RecordToBytes(
            meter.Archives().Generator().ValueRecord(kArchiveDaily, date, kFactoryReport));
        const SlaveReply record = ReadRecord(client, kArchiveDaily, date, 218);
        EXPECT_EQ(record.bytes.left(recordSize), full.left(recordSize));
        EXPECT_EQ(record.bytes.mid(recordSize), QByteArray(218 - recordSize, '\0'));
        const SlaveReply totals = ReadRecord(client, kArchiveTotals, date, 232);
        EXPECT_EQ(totals.bytes.left(totalsSize),
                  RecordToBytes(meter.Archives().Generator().Totals(date)).left(totalsSize));
        EXPECT_EQ(totals.bytes.mid(totalsSize), QByteArray(232 - totalsSize, '\0'));
    }
}

TEST(MeterArchives, RequestsAreTakenByTheirPeriodOrRefused)
{
    MeterSimulator meter(Fixed());
    SlaveClient client(meter);
    // A daily request at another hour gets the day's record, a monthly one on another day the month's.
    EXPECT_EQ(Bytes(ReadRecord(client, kArchiveDaily, TChronoArch{1, 3, 24, 5}).As<TChronoArch>()),
              Bytes(TChronoArch{1, 3, 24, 23}));
    EXPECT_EQ(Bytes(ReadRecord(client, kArchiveMonthly, TChronoArch{3, 2, 24, 0}).As<TChronoArch>()),
              Bytes(TChronoArch{25, 2, 24, 23}));
    // Dates the calendar has not, and a kind asked at the other kind's area.
    EXPECT_EQ(ReadRecord(client, kArchiveHourly, TChronoArch{30, 2, 24, 1}).exception, SlaveException::kIllegalValue);
    EXPECT_EQ(ReadRecord(client, kArchiveHourly, TChronoArch{1, 3, 24, 24}).exception, SlaveException::kIllegalValue);
    const ArchiveRequest totals = ValueArchiveRequest(kArchiveTotals, Stamp(1, 3, 24, 23));
    EXPECT_EQ(client.WriteRead48(MeterArea::kArchiveRequest, SlaveClient::Bytes(totals), MeterArea::kArchiveRecord, 218)
                  .exception,
              SlaveException::kIllegalValue);
    const ArchiveRequest hourly = ValueArchiveRequest(kArchiveHourly, Stamp(1, 3, 24, 23));
    EXPECT_EQ(client.WriteRead48(MeterArea::kArchiveRequest, SlaveClient::Bytes(hourly), MeterArea::kTotalsRecord, 232)
                  .exception,
              SlaveException::kIllegalValue);
    // In standard mode the request and the read are two transfers.
    ASSERT_EQ(client.Write(MeterArea::kArchiveRequest, SlaveClient::Bytes(hourly)), 0);
    EXPECT_EQ(client.Read(MeterArea::kArchiveRecord, 218).bytes,
              meter.Archives().RecordBytes(kArchiveHourly, TChronoArch{1, 3, 24, 23}, kFactoryReport, 515, 0));
}

TEST(MeterArchives, AFullArchiveOverwritesAndAnEraseEmptiesThemAll)
{
    MeterSimulator meter(Fixed(515, 200));
    SlaveClient client(meter);
    ArchiveDescriptors d = ReadDescriptors(client);
    const CapacityEntry hourly = d.Capacity(kArchiveHourly);
    EXPECT_TRUE(hourly.Overwrites());
    EXPECT_EQ(Value(hourly.writeIndex), 200 * 24 % 4416);
    const TChronoArch first = ChronoOf(d.FirstRecord(kArchiveHourly));
    EXPECT_EQ(HourDifference(kEnd, first), 4416 - 1);
    EXPECT_TRUE(ReadRecord(client, kArchiveHourly, first).Ok());
    EXPECT_EQ(ReadRecord(client, kArchiveHourly, PreviousHour(first)).exception, SlaveException::kNoDataForDate);
    EXPECT_FALSE(d.Capacity(kArchiveDaily).Overwrites());

    ASSERT_EQ(client.ServiceCommand(MaintenanceCommands::kEraseArchives), 0);
    d = ReadDescriptors(client);
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        EXPECT_EQ(Bytes(d.FirstRecord(kind)), QByteArray(6, '\xFF'));
        EXPECT_EQ(Value(d.Capacity(kind).writeIndex), 0);
    }
    EXPECT_EQ(Bytes(d.dates.resetDate), Bytes(StampOf(kEnd)));
    EXPECT_EQ(ReadRecord(client, kArchiveHourly, kEnd).exception, SlaveException::kNoDataForDate);
    const int last = meter.Logs().Capacity(kEventLogAdministrative).writeIndex - 1;
    EXPECT_EQ(meter.Logs().At(kEventLogAdministrative, last).QuantityType(), MeterEvent::kArchiveErased);
}

TEST(MeterArchives, FollowingTheClockTheyGrowByTheHour)
{
    SimOptions options;
    options.archives.days = 10;
    MeterSimulator meter(options);
    const MeterSeconds reset = meter.Archives().ResetTime();
    MeterSeconds now = reset + 10 * kSecondsPerDay + 30 * 60;
    meter.Clock().SetSource([&now] { return now; });
    const auto range = [&] { return meter.Archives().RangeOf(kArchiveHourly, kFactoryReport, meter.Clock().Now()); };
    const std::int64_t before = range().written;
    EXPECT_GE(before, 10 * 24);
    EXPECT_LE(before, 10 * 24 + 1);
    now += kSecondsPerHour;
    EXPECT_EQ(range().written, before + 1);
    EXPECT_EQ(SecondsOf(range().newest) / kSecondsPerHour, now / kSecondsPerHour);
}

TEST(EventLogs, ReadFromTheRequestedRecordNumberInEitherFunctionSet)
{
    MeterSimulator meter(Fixed());
    SlaveClient client(meter);
    for (int log = 0; log < kEventLogCount; ++log) {
        SCOPED_TRACE(log);
        const auto kind = static_cast<EventLogKind>(log);
        const int stored = meter.Logs().Capacity(kind).writeIndex;
        // Standard functions: the request, then 256 bytes in two reads (125 + 3 registers).
        ASSERT_EQ(client.Write(MeterArea::kArchiveRequest, SlaveClient::Bytes(EventLogRequest(kind, 0, 16))), 0);
        const SlaveReply entries = client.Read(EventLogReceiveArea(log), 256);
        ASSERT_TRUE(entries.Ok());
        DateTimeStamp previous{1, 1, 0, 0, 0, 0};
        for (int i = 0; i < 16; ++i) {
            const auto entry = SlaveReply{0, entries.bytes.mid(16 * i)}.As<EventRecord>();
            EXPECT_EQ(SlaveClient::Bytes(entry), SlaveClient::Bytes(meter.Logs().At(kind, i)));
            EXPECT_TRUE(IsValidStamp(entry.time));
            EXPECT_GE(SecondsOf(entry.time), SecondsOf(previous));
            EXPECT_LE(SecondsOf(entry.time), SecondsOf(kEnd));
            previous = entry.time;
        }
        // From near the end of what is stored: erased places read as 0xFF.
        const SlaveReply tail = client.WriteRead48(
            MeterArea::kArchiveRequest, SlaveClient::Bytes(EventLogRequest(kind, std::uint16_t(stored - 2), 16)),
            EventLogReceiveArea(log), 256);
        ASSERT_TRUE(tail.Ok());
        EXPECT_NE(tail.bytes.left(32), QByteArray(32, '\xFF'));
        EXPECT_EQ(tail.bytes.mid(32), QByteArray(256 - 32, '\xFF'));
        EXPECT_EQ(
            client
                .WriteRead48(MeterArea::kArchiveRequest,
                             SlaveClient::Bytes(EventLogRequest(kind, std::uint16_t(EventLogs::kCapacity[log]), 1)),
                             EventLogReceiveArea(log), 16)
                .exception,
            SlaveException::kIllegalValue);
    }
}

TEST(CurrentValues, FollowTheClockAndMatchTheTotalsArchive)
{
    MeterSimulator meter(Fixed());
    MeterSeconds now = SecondsOf(DateTimeStamp{9, 3, 24, 23, 0, 0});
    meter.Clock().SetSource([&now] { return now; });
    SlaveClient client(meter);

    // At the moment a totals record closes, the current totals are that record.
    const SlaveReply totals = client.Read(MeterArea::kCurrentTotals, 222);
    const auto current = totals.As<CurrentTotalsRecord>();
    EXPECT_EQ(Bytes(current.time), Bytes(DateTimeStamp{9, 3, 24, 23, 0, 0}));
    const QByteArray archived = RecordToBytes(ToCurrentTotalsForm(meter.Archives().Generator().Totals({9, 3, 24, 23})));
    EXPECT_EQ(totals.bytes, archived.left(222));

    const auto values = client.Read(MeterArea::kCurrentValues, 222).As<CurrentValues>();
    now += 90 * 60;
    const auto later = client.Read(MeterArea::kCurrentValues, 222).As<CurrentValues>();
    EXPECT_EQ(Bytes(later.time), Bytes(DateTimeStamp{10, 3, 24, 0, 30, 0}));
    EXPECT_NE(Value(values.Go[0]), Value(later.Go[0]));
    EXPECT_GT(Value(values.Go[0]), 0.0f);
    EXPECT_GT(Value(values.t[0]), Value(values.t[1]));
    EXPECT_EQ(Value(values.activeSet), 0);
    const auto laterTotals = client.Read(MeterArea::kCurrentTotals, 222).As<CurrentTotalsRecord>();
    EXPECT_GT(Value(laterTotals.body.pipes[0].V), Value(current.body.pipes[0].V));
    EXPECT_NEAR(laterTotals.body.pipes[0].V - current.body.pipes[0].V, 1.5 * values.Go[0], 0.5 * values.Go[0]);
}
