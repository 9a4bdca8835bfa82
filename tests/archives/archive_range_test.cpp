// A stretch of an archive read for the trends page and zt5ctl: the database first, the meter for the
// gaps, and what each source gave kept apart; against the simulated meter over loopback TCP and real
// SQLite files.

#include "archives/archive_database.h"
#include "archives/archive_range_extension.h"
#include "archives/database_columns.h"
#include "archives/record_bytes.h"
#include "support/export_rig.h"
#include "support/table_checks.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

// The export rig's meter (hourly records up to 26.02.2024 12:00) with the range read in front of the
// export in the driver's chain of extensions, as the desktop program has them; connected, as the
// trends page is before it reads.
class RangeRig {
public:
    RangeRig()
        : range(
            [this](DatabaseTarget* chosen, QString*) {
                *chosen = target;
                return true;
            },
            &progress, &exportRig.extension)
    {
        target.path = folder.filePath(QStringLiteral("db/Data.sqlite"));
        exportRig.current = target;
        exportRig.rig.driver.SetCommandExtensions(&range);
        EXPECT_TRUE(exportRig.rig.Run(kCommandConnect));
    }

    bool Read(const ArchiveRange& wanted)
    {
        range.SetRange(wanted);
        RecordingRequester requester;
        return exportRig.rig.Run(kCommandReadArchiveRange, &requester, 120000) && requester.Notices() == 1;
    }

    // The meter's records of the kind dated inside the range, oldest first.
    std::vector<MeterRecord> MeterRecordsIn(const ArchiveRange& wanted)
    {
        std::vector<MeterRecord> inside;
        for (const MeterRecord& record : exportRig.MeterRecords(wanted.kind)) {
            const QDateTime time = QDateTime::fromString(record.date, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            const TChronoArch date{std::uint8_t(time.date().day()), std::uint8_t(time.date().month()),
                                   std::uint8_t(time.date().year() - 2000), std::uint8_t(time.time().hour())};
            if (InRange(wanted, date))
                inside.push_back(record);
        }
        return inside;
    }

    QTemporaryDir folder;
    DatabaseTarget target;
    ExportRig exportRig;
    ProgressProbe progress;
    ArchiveRangeExtension range;
};

QString FiledDate(const TChronoArch& date)
{
    return QString::asprintf("%.4d-%.2d-%.2d %.2d:00:00", date.year + 2000, date.month, date.day, date.hour);
}

// Every field a table column holds is the same in both records (NaN equal to NaN).
void ExpectSameColumns(const ArchiveRecord& got, const ArchiveRecord& expected, const QString& where)
{
    for (const ArchiveColumn& column : ValueArchiveColumns()) {
        const QVariant a = ColumnValue(column, got);
        const QVariant b = ColumnValue(column, expected);
        if (a.typeId() == QMetaType::Double && std::isnan(a.toDouble()) && std::isnan(b.toDouble()))
            continue;
        EXPECT_EQ(a, b) << qPrintable(where) << ' ' << qPrintable(column.name);
    }
}

void ExpectRecordsAreTheMeters(const std::vector<RangeRecord>& got, const std::vector<MeterRecord>& meter)
{
    ASSERT_EQ(got.size(), meter.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(FiledDate(got[i].date), meter[i].date);
        EXPECT_TRUE(got[i].record.date == got[i].date);
        ExpectSameColumns(got[i].record, RecordFromBytes<ArchiveRecord>(meter[i].bytes), meter[i].date);
    }
}

}  // namespace

TEST(ArchiveRange, MeterFirstThenDatabaseThenOnlyTheGaps)
{
    RangeRig rig;
    const ArchiveRange day{kArchiveHourly, TChronoArch{24, 2, 24, 0}, TChronoArch{24, 2, 24, 23}};
    const std::vector<MeterRecord> expected = rig.MeterRecordsIn(day);
    ASSERT_EQ(expected.size(), 24u);

    // Nothing in the database yet: all 24 off the meter, and they are stored.
    ASSERT_TRUE(rig.Read(day)) << qPrintable(rig.exportRig.rig.BoxTexts().join(u'\n'));
    ArchiveRangeResult result = rig.range.LastResult();
    EXPECT_EQ(result.serial, kMeterSerial);
    EXPECT_EQ(result.fromMeter, 24);
    EXPECT_EQ(result.fromDatabase, 0);
    EXPECT_EQ(result.missing, 0);
    EXPECT_EQ(rig.progress.lastDone, 24);
    EXPECT_EQ(rig.progress.lastTotal, 24);
    ExpectRecordsAreTheMeters(result.records, expected);
    {
        TestConnection db(rig.target);
        EXPECT_EQ(db.Count(kArchiveHourly), 24);
    }

    // The second look reads no record off the meter: only the descriptors go over the line.
    const int before = rig.exportRig.rig.server.Requests();
    ASSERT_TRUE(rig.Read(day));
    result = rig.range.LastResult();
    EXPECT_EQ(result.fromMeter, 0);
    EXPECT_EQ(result.fromDatabase, 24);
    EXPECT_LE(rig.exportRig.rig.server.Requests() - before, 4);
    ExpectRecordsAreTheMeters(result.records, expected);

    // Three rows gone from the database: exactly those three are read again, and the whole day is back.
    {
        TestConnection db(rig.target);
        db.Exec(
            {QStringLiteral("DELETE FROM \"ZT5_Arch_Values_Hour\" WHERE \"Date\" IN "
                            "('2024-02-24 00:00:00', '2024-02-24 13:00:00', '2024-02-24 23:00:00')")});
    }
    ASSERT_TRUE(rig.Read(day));
    result = rig.range.LastResult();
    EXPECT_EQ(result.fromMeter, 3);
    EXPECT_EQ(result.fromDatabase, 21);
    EXPECT_EQ(rig.progress.lastTotal, 3);
    ExpectRecordsAreTheMeters(result.records, expected);

    // A wider stretch reaching past the meter's newest record reads only what the meter has finished.
    const ArchiveRange wider{kArchiveHourly, TChronoArch{24, 2, 24, 0}, TChronoArch{27, 2, 24, 23}};
    ASSERT_TRUE(rig.Read(wider));
    result = rig.range.LastResult();
    ExpectRecordsAreTheMeters(result.records, rig.MeterRecordsIn(wider));
    EXPECT_EQ(result.fromDatabase, 24);

    // The export behind it in the chain still works, and finds the rows the range read stored.
    ASSERT_TRUE(rig.exportRig.Export(rig.target));
    TestConnection db(rig.target);
    ExpectTableMatchesMeter(db, kArchiveHourly, rig.exportRig.MeterRecords(kArchiveHourly), kMeterSerial);
}

TEST(ArchiveRange, DatabaseRowsTheMeterNoLongerHoldsAreShownAndOthersLeftOut)
{
    RangeRig rig;
    // The database has rows of this meter from long before its archive starts, of another meter, and of
    // this meter outside the stretch.
    ArchiveRecord old{};
    old.pipes[0].t = 71.25f;
    old.pipes[0].V = std::nanf("");
    old.pipeFlags[0] = 0x22;
    old.inputFlags[1] = 0x8001;  // counters and flags keep their high bit through the signed columns
    old.inputs[1].VNR = 40000;
    {
        ArchiveDatabase database;
        ASSERT_TRUE(database.Open(rig.target));
        const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(&old), sizeof old);
        ASSERT_TRUE(database.Write(kArchiveDaily, bytes, kMeterSerial, DateTimeStamp{10, 1, 24, 23, 0, 0}));
        ASSERT_TRUE(database.Write(kArchiveDaily, bytes, kMeterSerial + 1, DateTimeStamp{11, 1, 24, 23, 0, 0}));
        ASSERT_TRUE(database.Write(kArchiveDaily, bytes, kMeterSerial, DateTimeStamp{31, 12, 23, 23, 0, 0}));
        ASSERT_TRUE(database.Close());
    }
    const ArchiveRange stretch{kArchiveDaily, TChronoArch{1, 1, 24, 0}, TChronoArch{29, 2, 24, 23}};
    ASSERT_TRUE(rig.Read(stretch)) << qPrintable(rig.exportRig.rig.BoxTexts().join(u'\n'));
    const ArchiveRangeResult result = rig.range.LastResult();
    const std::vector<MeterRecord> meter = rig.MeterRecordsIn(stretch);
    ASSERT_FALSE(meter.empty());
    EXPECT_EQ(result.fromDatabase, 1);
    EXPECT_EQ(result.fromMeter, std::int64_t(meter.size()));
    ASSERT_EQ(result.records.size(), meter.size() + 1);
    EXPECT_EQ(FiledDate(result.records.front().date), QStringLiteral("2024-01-10 23:00:00"));
    ExpectSameColumns(result.records.front().record, old, QStringLiteral("old row"));
    EXPECT_TRUE(std::isnan(result.records.front().record.pipes[0].V));
    EXPECT_EQ(+result.records.front().record.inputs[1].VNR, 40000);
    ExpectRecordsAreTheMeters({result.records.begin() + 1, result.records.end()}, meter);
}

TEST(ArchiveRange, StopKeepsWhatWasReadAndABackwardRangeIsRefused)
{
    RangeRig rig;
    const ArchiveRange day{kArchiveHourly, TChronoArch{24, 2, 24, 0}, TChronoArch{24, 2, 24, 23}};
    rig.progress.onRecord = [&](std::int64_t done, std::int64_t) {
        if (done == 5)
            rig.exportRig.rig.driver.RequestStop();
    };
    ASSERT_TRUE(rig.Read(day));
    rig.progress.onRecord = nullptr;
    ArchiveRangeResult result = rig.range.LastResult();
    EXPECT_EQ(result.fromMeter, 5);
    EXPECT_EQ(result.missing, 19);
    EXPECT_EQ(result.records.size(), 5u);
    EXPECT_EQ(rig.exportRig.rig.LastOperationText(), QString::fromUtf8("Операция завершена по желанию пользователя!"));
    {
        TestConnection db(rig.target);
        EXPECT_EQ(db.Count(kArchiveHourly), 5);
    }
    // The next look picks up where the stop left off.
    ASSERT_TRUE(rig.Read(day));
    result = rig.range.LastResult();
    EXPECT_EQ(result.fromDatabase, 5);
    EXPECT_EQ(result.fromMeter, 19);

    const ArchiveRange backward{kArchiveHourly, TChronoArch{24, 2, 24, 1}, TChronoArch{24, 2, 24, 0}};
    EXPECT_FALSE(rig.Read(backward));
    EXPECT_TRUE(rig.exportRig.rig.BoxTexts().contains(QString::fromUtf8("Начало периода позже его конца!")));
    EXPECT_TRUE(rig.range.LastResult().records.empty());
}
