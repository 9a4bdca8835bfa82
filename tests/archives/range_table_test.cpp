// The quantities a trend or a range table shows, and the range tables themselves: every quantity reads
// the field its database column holds and the bits its report markers stand for, and a CSV gives back
// the very values and flags it was made of.

#include "archives/database_columns.h"
#include "archives/range_table.h"
#include "base/text_codec.h"

#include <QSet>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A record whose every value differs, with flags and awkward numbers among them.
ArchiveRecord AwkwardRecord(int seed)
{
    ArchiveRecord record{};
    for (int k = 0; k < kArchivePipeCount; ++k) {
        record.pipes[k] = {90.123f + float(k) + float(seed), 0.6f + 0.01f * float(k), 1.0e-7f * float(k + 1),
                           123456.78f - float(k)};
        record.pipeFlags[k] = std::uint8_t(0x25 << (k % 3));
    }
    for (int n = 0; n < kArchiveInputCount; ++n) {
        record.inputs[n].dt = -0.5f - float(n);
        record.inputs[n].dM = 1.0f / 3.0f;
        record.inputs[n].Qtv = 0.116163865f * float(seed + 1);
        record.inputs[n].Q12 = std::numeric_limits<float>::quiet_NaN();
        record.inputs[n].Qg = -std::numeric_limits<float>::infinity();
        record.inputFlags[n] = std::uint16_t(0x0607 >> n);
    }
    record.dp = 1.8333282f;
    record.dpFlags = 0x03;
    return record;
}

std::vector<RangeRecord> AwkwardRange()
{
    std::vector<RangeRecord> records;
    for (int i = 0; i < 3; ++i) {
        const TChronoArch date{std::uint8_t(28 + i % 2), 2, 24, std::uint8_t(i)};
        ArchiveRecord record = AwkwardRecord(i);
        record.date = date;
        records.push_back({date, record});
    }
    return records;
}

TrendSelection AllQuantities()
{
    TrendSelection all;
    QString unknown;
    EXPECT_TRUE(ParseTrendQuantityList(QString(), &all, &unknown));
    return all;
}

}  // namespace

TEST(TrendQuantities, EachReadsItsColumnsFieldAndItsMarkersBits)
{
    const std::vector<TrendQuantity>& quantities = TrendQuantities();
    ASSERT_EQ(quantities.size(), 35u);
    QSet<QString> keys, labels;
    const ArchiveRecord record = AwkwardRecord(1);
    for (const TrendQuantity& quantity : quantities) {
        keys.insert(quantity.key);
        labels.insert(quantity.label);
        // The key names a database column, and the quantity reads the very field that column is filled from.
        const ArchiveColumn* column = nullptr;
        for (const ArchiveColumn& candidate : ValueArchiveColumns()) {
            if (candidate.name == quantity.key)
                column = &candidate;
        }
        ASSERT_NE(column, nullptr) << qPrintable(quantity.key);
        const double fromColumn = ColumnValue(*column, record).toDouble();
        const double value = TrendValue(quantity, record);
        if (std::isnan(fromColumn))
            EXPECT_TRUE(std::isnan(value)) << qPrintable(quantity.key);
        else
            EXPECT_EQ(value, fromColumn) << qPrintable(quantity.key);
    }
    EXPECT_EQ(keys.size(), 35);
    EXPECT_EQ(labels.size(), 35);

    // With every flag bit set each quantity has exactly the markers the reports print for it.
    ArchiveRecord flagged{};
    std::memset(flagged.pipeFlags, 0xFF, sizeof flagged.pipeFlags);
    flagged.inputFlags[0] = flagged.inputFlags[1] = 0xFFFF;
    flagged.dpFlags = 0xFF;
    const auto flagsOf = [&](const char* key) {
        return TrendFlagText(*FindTrendQuantity(QString::fromLatin1(key)), flagged);
    };
    EXPECT_EQ(flagsOf("t1_1"), QStringLiteral("<>!"));
    EXPECT_EQ(flagsOf("P2_3"), QStringLiteral("<>"));
    EXPECT_EQ(flagsOf("V1_2"), QStringLiteral("<>!"));
    EXPECT_EQ(flagsOf("M1_1"), QString());
    EXPECT_EQ(flagsOf("dT_1"), QStringLiteral("<"));
    EXPECT_EQ(flagsOf("Qg_2"), QStringLiteral("<"));
    EXPECT_EQ(flagsOf("DP"), QStringLiteral("<>"));
    EXPECT_EQ(TrendFlags(*FindTrendQuantity(QStringLiteral("V2_1")), flagged), 0xE0);
    EXPECT_EQ(TrendFlags(*FindTrendQuantity(QStringLiteral("Qo_1")), flagged), 0x200);

    // Only V1's ">" bit set: t1 shows nothing, V1 shows ">".
    ArchiveRecord one{};
    one.pipeFlags[0] = 0x40;
    EXPECT_EQ(TrendFlagText(*FindTrendQuantity(QStringLiteral("V1_1")), one), QStringLiteral(">"));
    EXPECT_EQ(TrendFlagText(*FindTrendQuantity(QStringLiteral("t1_1")), one), QString());

    TrendSelection chosen;
    QString unknown;
    EXPECT_TRUE(ParseTrendQuantityList(QStringLiteral("Qwi_2, t1_1"), &chosen, &unknown));
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0]->label, QStringLiteral("Qтв ТВ2"));
    EXPECT_EQ(chosen[1]->label, QStringLiteral("t1"));
    EXPECT_FALSE(ParseTrendQuantityList(QStringLiteral("t1_1,t9_9"), &chosen, &unknown));
    EXPECT_EQ(unknown, QStringLiteral("t9_9"));
    EXPECT_TRUE(chosen.empty());
}

TEST(RangeTable, CsvGivesBackTheValuesAndFlagsItWasMadeOf)
{
    const std::vector<RangeRecord> records = AwkwardRange();
    const TrendSelection all = AllQuantities();
    const QByteArray csv = RangeCsv(records, all, DecimalSeparator::Comma);
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), int(records.size()) + 2);  // heads, rows, and the empty text after the last CR LF
    EXPECT_TRUE(lines.last().isEmpty());
    const QStringList heads = lines[0].split(u';');
    EXPECT_EQ(heads[0], QStringLiteral("Дата"));
    EXPECT_EQ(heads[1], QStringLiteral("t1, °C"));
    EXPECT_TRUE(heads.contains(QStringLiteral("Qтв ТВ2, Гкал")));
    EXPECT_TRUE(heads.contains(QStringLiteral("t1 НС")));
    EXPECT_FALSE(heads.contains(QStringLiteral("M1 НС")));  // masses carry no flags

    for (std::size_t r = 0; r < records.size(); ++r) {
        const QStringList cells = lines[int(r) + 1].split(u';');
        ASSERT_EQ(cells.size(), heads.size());
        EXPECT_EQ(cells[0], QString::asprintf("%.2d.02.2024 %.2d:00", records[r].date.day, records[r].date.hour));
        for (std::size_t q = 0; q < all.size(); ++q) {
            const QString cell = cells[int(q) + 1];
            EXPECT_FALSE(cell.contains(u'.')) << qPrintable(cell);
            const float expected = float(TrendValue(*all[q], records[r].record));
            if (!std::isfinite(expected)) {
                EXPECT_TRUE(cell.isEmpty()) << qPrintable(all[q]->key);
                continue;
            }
            bool ok = false;
            const float back = QString(cell).replace(u',', u'.').toFloat(&ok);
            ASSERT_TRUE(ok) << qPrintable(cell);
            EXPECT_EQ(back, expected) << qPrintable(all[q]->key) << ' ' << qPrintable(cell);
        }
        int flagColumn = int(all.size()) + 1;
        for (const TrendQuantity* quantity : all) {
            if (quantity->flagged == FlaggedQuantity::Unflagged)
                continue;
            std::uint16_t flags = 0xFFFF;
            ASSERT_TRUE(TrendFlagsFromText(*quantity, cells[flagColumn++], &flags));
            EXPECT_EQ(flags, TrendFlags(*quantity, records[r].record)) << qPrintable(quantity->key);
        }
    }
    // A marker a quantity does not have is no flag of it.
    std::uint16_t flags = 0;
    EXPECT_FALSE(TrendFlagsFromText(*FindTrendQuantity(QStringLiteral("dT_1")), QStringLiteral(">"), &flags));
    EXPECT_FALSE(TrendFlagsFromText(*FindTrendQuantity(QStringLiteral("DP")), QStringLiteral("!"), &flags));

    EXPECT_EQ(RangeNumberText(1.0e-7f), QStringLiteral("0,0000001"));
    EXPECT_EQ(RangeNumberText(-0.5f), QStringLiteral("-0,5"));
    EXPECT_EQ(RangeNumberText(123456.78f), QStringLiteral("123456,78"));
    EXPECT_EQ(RangeNumberText(-0.5f, DecimalSeparator::Point), QStringLiteral("-0.5"));
    EXPECT_EQ(RangeNumberText(56.374f, DecimalSeparator::Point), QStringLiteral("56.374"));

    // With a decimal point every number cell reads back alike, and nothing else of the file changes.
    const QStringList pointedLines = QString::fromUtf8(RangeCsv(records, all, DecimalSeparator::Point).mid(3))
                                         .split(QStringLiteral("\r\n"));
    ASSERT_EQ(pointedLines.size(), lines.size());
    EXPECT_EQ(pointedLines[0], lines[0]);
    for (qsizetype r = 1; r < lines.size(); ++r) {
        const QStringList pointed = pointedLines[r].split(u';');
        const QStringList commas = lines[r].split(u';');
        ASSERT_EQ(pointed.size(), commas.size());
        for (qsizetype c = 0; c < pointed.size(); ++c) {
            const bool number = c >= 1 && c <= qsizetype(all.size());
            EXPECT_FALSE(number && pointed[c].contains(u',')) << qPrintable(pointed[c]);
            EXPECT_EQ(number ? QString(pointed[c]).replace(u'.', u',') : pointed[c], commas[c]);
        }
    }
    EXPECT_EQ(ParseDecimalSeparator(QStringLiteral("point")), DecimalSeparator::Point);
    EXPECT_EQ(ParseDecimalSeparator(QStringLiteral("comma")), DecimalSeparator::Comma);
    EXPECT_FALSE(ParseDecimalSeparator(QStringLiteral(".")));
}

TEST(RangeTable, HtmlIsTheReportWritersSheetInWindows1251)
{
    const std::vector<RangeRecord> records = AwkwardRange();
    TrendSelection chosen;
    QString unknown;
    ASSERT_TRUE(ParseTrendQuantityList(QStringLiteral("t1_1,V1_1"), &chosen, &unknown));
    const ArchiveRange range{kArchiveHourly, records.front().date, records.back().date};
    const QString title = RangeTableTitle(range, 170001);
    EXPECT_EQ(title, QStringLiteral("Часовой архив, зав.N 170001, 28.02.2024 - 28.02.2024"));
    bool lossless = false;
    const QByteArray html = RangeHtml(records, chosen, title);
    const QString text = DecodeWindows1251(html);
    EncodeWindows1251(text, &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_TRUE(text.contains(QStringLiteral("urn:schemas-microsoft-com:office:excel")));
    EXPECT_TRUE(text.contains(title));
    EXPECT_TRUE(text.contains(QStringLiteral("<th>t1, °C</th>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<td>28.02.2024 00:00</td>")));
    // A number shows with a comma and carries its value with a point, which any locale reads.
    const float t1 = records[1].record.pipes[0].t;
    EXPECT_TRUE(text.contains(QStringLiteral("<td x:num=\"%1\" sdval=\"%1\" sdnum=\"1033;\">%2</td>")
                                  .arg(RangeNumberText(t1, DecimalSeparator::Point), RangeNumberText(t1))))
        << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("<td>&lt;!</td>")));  // t1 of 0x25: "<" and "!"
    EXPECT_EQ(text.count(QStringLiteral(" <tr>")), 2 + int(records.size()));

    ArchiveRangeResult result;
    result.records = records;
    result.fromDatabase = 1;
    result.fromMeter = 2;
    EXPECT_EQ(RangeResultText(result), QStringLiteral("Записей: 3 (из базы: 1, с прибора: 2)"));
    result.missing = 4;
    EXPECT_EQ(RangeResultText(result), QStringLiteral("Записей: 3 (из базы: 1, с прибора: 2, не прочитано: 4)"));
}
