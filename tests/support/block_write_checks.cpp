#include "support/block_write_checks.h"

#include "archives/archive_database.h"
#include "archives/archive_range.h"
#include "archives/archive_table.h"
#include "archives/database_columns.h"
#include "support/table_checks.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint32_t kSerial = 4000000001u;  // above INT32_MAX: stored as a negative 32-bit integer

const ArchiveColumn* NthOf(ColumnSource source, int n)
{
    for (const ArchiveColumn& column : ValueArchiveColumns()) {
        if (column.source == source && n-- == 0)
            return &column;
    }
    return nullptr;
}

template <class T>
void PutColumn(std::vector<std::uint8_t>& record, const ArchiveColumn* column, T value)
{
    ASSERT_NE(column, nullptr);
    std::memcpy(record.data() + column->offset, &value, sizeof value);
}

// Counter columns the list may lack are left out.
template <class T>
void PutIfThere(std::vector<std::uint8_t>& record, const ArchiveColumn* column, T value)
{
    if (column)
        PutColumn(record, column, value);
}

// The hourly rows of `count` hours from 1 March 2024 00:00 on, `first` hours in.
std::vector<QVariantList> HourRows(ArchiveDatabase& database, int first, int count)
{
    std::vector<QVariantList> rows;
    TChronoArch date{1, 3, 24, 0};
    for (int i = 0; i < first; ++i)
        date = NextHour(date);
    std::vector<std::uint8_t> record(256, 0);
    for (int i = 0; i < count; ++i, date = NextHour(date)) {
        const float value = float(first + i) / 3.0f;
        PutColumn(record, NthOf(ColumnSource::Float, 0), value);
        rows.push_back(database.RowOf(kArchiveHourly, record, kSerial, StampOf(date)));
    }
    return rows;
}

}  // namespace

void ExpectBlockValuesReadBackExactly(const DatabaseTarget& target)
{
    std::vector<std::uint8_t> record(256, 0);
    const float floats[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            0.1f,
                            -1.0e-30f,
                            16777217.0f,
                            3.4e38f};
    for (int i = 0; i < int(std::size(floats)); ++i)
        PutColumn(record, NthOf(ColumnSource::Float, i), floats[i]);
    ASSERT_TRUE(NthOf(ColumnSource::U16, 0) || NthOf(ColumnSource::U32, 0) || NthOf(ColumnSource::U8, 0));
    PutIfThere(record, NthOf(ColumnSource::U16, 0), std::uint16_t(40000));
    PutIfThere(record, NthOf(ColumnSource::U32, 0), std::uint32_t(0xFFFFFFFFu));
    PutIfThere(record, NthOf(ColumnSource::U8, 0), std::uint8_t(255));
    PutIfThere(record, NthOf(ColumnSource::Double, 0), 0.1 + 0.2);

    ArchiveDatabase database;
    ASSERT_TRUE(database.Open(target)) << qPrintable(database.LastFailureText());
    const TChronoArch date{5, 3, 24, 7};
    qint64 added = 0;
    ASSERT_TRUE(
        database.WriteBlock(kArchiveHourly, {database.RowOf(kArchiveHourly, record, kSerial, StampOf(date))}, &added))
        << qPrintable(database.LastFailureText());
    EXPECT_EQ(added, 1);
    std::vector<RangeRecord> read;
    ASSERT_TRUE(database.ReadRange(kArchiveHourly, kSerial, date, date, &read));
    ASSERT_EQ(read.size(), 1u);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&read[0].record);
    for (const ArchiveColumn& column : ValueArchiveColumns()) {
        if (column.source == ColumnSource::Float) {
            float wrote = 0;
            float back = 0;
            std::memcpy(&wrote, record.data() + column.offset, sizeof wrote);
            std::memcpy(&back, bytes + column.offset, sizeof back);
            if (std::isnan(wrote))
                EXPECT_TRUE(std::isnan(back)) << qPrintable(column.name);
            else
                EXPECT_EQ(std::bit_cast<std::uint32_t>(back), std::bit_cast<std::uint32_t>(wrote))
                    << qPrintable(column.name) << " " << wrote << " came back as " << back;
        } else if (column.source != ColumnSource::Serial && column.source != ColumnSource::Date
                   && column.source != ColumnSource::NotFilled) {
            EXPECT_EQ(ColumnValue(column, std::span<const std::uint8_t>(bytes, sizeof(ArchiveRecord))),
                      ColumnValue(column, record))
                << qPrintable(column.name);
        }
    }
}

void ExpectOverlappingBlocksStoreEachRowOnce(const DatabaseTarget& target)
{
    ArchiveDatabase first;
    ArchiveDatabase second;
    ASSERT_TRUE(first.Open(target)) << qPrintable(first.LastFailureText());
    ASSERT_TRUE(second.Open(target)) << qPrintable(second.LastFailureText());
    qint64 added = 0;
    ASSERT_TRUE(first.WriteBlock(kArchiveHourly, HourRows(first, 0, 100), &added));
    EXPECT_EQ(added, 100);
    ASSERT_TRUE(second.WriteBlock(kArchiveHourly, HourRows(second, 50, 100), &added))
        << qPrintable(second.LastFailureText());
    EXPECT_EQ(added, 50);
    EXPECT_EQ(first.RowsCommitted(kArchiveHourly) + second.RowsCommitted(kArchiveHourly), 150);
    EXPECT_FALSE(second.Broken());

    std::set<QString> hours;
    ASSERT_TRUE(first.StoredHours(kArchiveHourly, kSerial, StampOf(TChronoArch{3, 3, 24, 0}),
                                  StampOf(TChronoArch{10, 3, 24, 0}), &hours));
    // From 3 March 00:00 to the last row, 7 March 05:00 (hour 149), both ends included.
    EXPECT_EQ(hours.size(), 102u);
    EXPECT_EQ(*hours.begin(), QStringLiteral("2024-03-03 00"));
    EXPECT_EQ(*hours.rbegin(), QStringLiteral("2024-03-07 05"));

    std::array<std::optional<DateTimeStamp>, kValueArchiveCount> newest;
    ASSERT_TRUE(second.NewestDates(kSerial, &newest));
    ASSERT_TRUE(newest[kArchiveHourly].has_value());
    EXPECT_EQ(HourKeyText(*newest[kArchiveHourly]), QStringLiteral("2024-03-07 05"));
    EXPECT_FALSE(newest[kArchiveDaily].has_value());
    EXPECT_FALSE(newest[kArchiveTotals].has_value());
    first.Close();
    second.Close();
    TestConnection db(target);
    EXPECT_EQ(db.Count(kArchiveHourly), 150);
}
