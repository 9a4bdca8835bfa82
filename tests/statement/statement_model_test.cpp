// The statement's model from records made here: what every format prints comes from it.

#include "archives/archive_range.h"
#include "statement/statement_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

RangeRecord DailyRecord(int day, float q, float t1, float m1)
{
    RangeRecord record{};
    record.date = TChronoArch{std::uint8_t(day), 11, 26, 10};
    record.record.date = record.date;
    record.record.inputs[0].Qtv = q;
    record.record.inputs[0].VNR = 24 * 60;
    record.record.pipes[0].t = t1;
    record.record.pipes[0].M = m1;
    return record;
}

int ColumnOf(const StatementSection& section, const char* head)
{
    for (std::size_t i = 0; i < section.columns.size(); ++i)
        if (section.columns[i].head == QString::fromUtf8(head))
            return int(i);
    return -1;
}

QString HoursLine(const StatementSection& section, const char* label)
{
    for (const StatementLine& line : section.hours)
        if (line.label == QString::fromUtf8(label))
            return line.value;
    return {};
}

}  // namespace

TEST(StatementModel, AGapIsARowWithoutDataAndTheTotalsWeighTemperaturesByMass)
{
    StatementSource source;
    source.kind = kArchiveDaily;
    source.from = TChronoArch{1, 11, 26, 10};
    source.to = TChronoArch{3, 11, 26, 10};
    source.input = 0;
    source.serial = 170001;
    // The 2nd of November is not in the archive.
    source.records = {DailyRecord(1, 1.5f, 70.0f, 10.0f), DailyRecord(3, 2.25f, 80.0f, 30.0f)};
    const Statement statement = BuildStatement(source);
    ASSERT_EQ(statement.sections.size(), 1u);
    const StatementSection& section = statement.sections[0];

    ASSERT_EQ(section.rows.size(), 3u);
    EXPECT_FALSE(section.rows[0].missing);
    EXPECT_TRUE(section.rows[1].missing);
    for (double value : section.rows[1].values)
        EXPECT_TRUE(std::isnan(value)) << "a missing day is never a row of zeros";
    EXPECT_EQ(section.missingDates, QStringList{QStringLiteral("02.11.2026")});
    EXPECT_EQ(statement.MissingDates(), QStringList{QStringLiteral("02.11.2026")});

    const int q = ColumnOf(section, "Q");
    const int t1 = ColumnOf(section, "t1");
    ASSERT_GE(q, 0);
    ASSERT_GE(t1, 0);
    EXPECT_DOUBLE_EQ(section.total[q], 3.75);
    // 10 t at 70 °C and 30 t at 80 °C: 77.5 °C by mass, not the plain 75.
    EXPECT_DOUBLE_EQ(section.total[t1], 77.5);
    EXPECT_EQ(HoursLine(section, "Часов в периоде"), QStringLiteral("72"));
    EXPECT_EQ(HoursLine(section, "Часов с данными"), QStringLiteral("48"));
    EXPECT_EQ(HoursLine(section, "Часов без данных"), QStringLiteral("24"));
}
