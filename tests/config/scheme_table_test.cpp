// The scheme table held row by row against its transcription, the labels and the lists per model.

#include <gtest/gtest.h>
#include <QStringList>

#include "config/model_capabilities.h"
#include "config/scheme_labels.h"
#include "config/scheme_table.h"

namespace {

// Scheme | group | t pipes | P pipes | V pipes | number of combinations
const char* const kEntries[] = {
    "0|ТВ не исп.|-|-|-|0",
    "1|Открытая|1,2,3|1,2,3|1,2,3|6",
    "2|Открытая|1,2,3|1,2,3|1,2,3|6",
    "3|Открытая|1,2,3|1,2,3|2,3|2",
    "4|Открытая|1,2,3|1,2,3|1,2,3|4",
    "5|Закрытая|1,2,3|1,2,3|1,2,3|4",
    "6|Закрытая|1,2,3|1,2,3|1,2,3|12",
    "7|Закрытая|1,2,3|1,2,3|1,3|3",
    "8|Закрытая|1,2,3|1,2,3|2,3|3",
    "9|Тупик.ГВС|1,3|1,3|1,3|3",
    "10|Тупик.ГВС|2,3|2,3|2,3|3",
    "11|Тупик.ГВС|1,2,3|1,2,3|1,2,3|3",
    "12|Изм. V|3|1,2,3|1,2,3|3",
    "13|Источник|1,2,3|1,2,3|1,2,3|3",
    "14|Источник|1,2,3|1,2,3|1,2,3|3",
};

// Scheme | row | КТ3 | ФРТ | Qг | Qтв | dM control | dt control | ТВ1 models | ТВ2 models | b4..b7 | M1 | M2 | M3 | dM
const char* const kRows[] = {
    "1|1|1|1|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "1|2|1|3|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "1|3|2|1|Qг=dM(h3-hx)|Qтв=Q12|да|да|03,04|03,04|2 3 1 0|V1*p1|V2*p2|нет|M1-M2",
    "1|4|2|3|Qг=dM(h3-hx)|Qтв=Q12|да|да|03,04|03,04|2 3 1 0|V1*p1|V2*p2|нет|M1-M2",
    "1|5|3|1|Qг=M3(h3-hx)|Qтв=Q12|нет|да|03,04|03,04|2 6 4 0|V1*p1|V2*p2|V3*p3|M3",
    "1|6|3|3|Qг=M3(h3-hx)|Qтв=Q12|нет|да|03,04|03,04|7 3 4 0|V1*p1|V2*p2|V3*p3|M3",
    "2|1|0|1|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "2|2|0|3|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "2|3|1|1|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "2|4|1|3|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "2|5|3|1|Qг=M3(h3-hx)|Qтв=Q12+Qг|да|да|03,04|03,04|2 3 4 0|V1*p1|V2*p2|V3*p3|M1-M2",
    "2|6|3|3|Qг=M3(h3-hx)|Qтв=Q12+Qг|да|да|03,04|03,04|2 3 4 0|V1*p1|V2*p2|V3*p3|M1-M2",
    "3|1|3|1|Qг=M3(h3-hx)|Qтв=Q12|нет|да|03,04|03,04|7 3 4 0|M2+M3|V2*p2|V3*p3|M3",
    "3|2|3|3|Qг=M3(h3-hx)|Qтв=Q12|нет|да|03,04|03,04|7 3 4 0|M2+M3|V2*p2|V3*p3|M3",
    "4|1|1|1|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 8 0 0|V1*p1|V2*p2|V3*p2|(M1-M2)+M3",
    "4|2|1|3|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|5 3 0 0|V1*p1|V2*p2|V3*p2|(M1-M2)+M3",
    "4|3|3|1|нет|Qтв=Q12|да|да|03,04|03,04|2 8 4 0|V1*p1|V2*p2|V3*p3|(M1-M2)+M3",
    "4|4|3|3|нет|Qтв=Q12|да|да|03,04|03,04|5 3 4 0|V1*p1|V2*p2|V3*p3|(M1-M2)+M3",
    "5|1|1|1|Qг=M3(h2-hx)|Qтв=Q12|нет|да|01,02,03,04|02,03,04|2 6 0 0|V1*p1|V2*p2|V3*p2|M3",
    "5|2|1|3|Qг=M3(h2-hx)|Qтв=Q12|нет|да|01,02,03,04|02,03,04|7 3 0 0|V1*p1|V2*p2|V3*p2|M3",
    "5|3|3|1|Qг=M3(h3-hx)|Qтв=Q12|нет|да|03,04|03,04|2 6 4 0|V1*p1|V2*p2|V3*p3|M3",
    "5|4|3|3|Qг=M3(h3-hx)|Qтв=Q12|нет|да|03,04|03,04|7 3 4 0|V1*p1|V2*p2|V3*p3|M3",
    "6|1|0|0|нет|Qтв=Q12|нет|да|01,02,03,04|02,03,04|2 2 0 0|V1*p1|V2*p2|нет|нет",
    "6|2|0|1|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "6|3|0|2|нет|Qтв=Q12|нет|да|01,02,03,04|02,03,04|3 3 0 0|V1*p1|V2*p2|нет|нет",
    "6|4|0|3|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "6|5|1|0|нет|Qтв=Q12|нет|да|01,02,03,04|02,03,04|2 2 0 0|V1*p1|V2*p2|нет|нет",
    "6|6|1|1|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "6|7|1|2|нет|Qтв=Q12|нет|да|01,02,03,04|02,03,04|3 3 0 0|V1*p1|V2*p2|нет|нет",
    "6|8|1|3|нет|Qтв=Q12|да|да|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|M1-M2",
    "6|9|3|0|Qг=M3(h3-hx)|Qтв=Q12+Qг|нет|да|03,04|03,04|2 2 4 0|V1*p1|V2*p2|V3*p3|нет",
    "6|10|3|1|Qг=M3(h3-hx)|Qтв=Q12+Qг|да|да|03,04|03,04|2 3 4 0|V1*p1|V2*p2|V3*p3|M1-M2",
    "6|11|3|2|Qг=M3(h3-hx)|Qтв=Q12+Qг|нет|да|03,04|03,04|3 3 4 0|V1*p1|V2*p2|V3*p3|нет",
    "6|12|3|3|Qг=M3(h3-hx)|Qтв=Q12+Qг|да|да|03,04|03,04|2 3 4 0|V1*p1|V2*p2|V3*p3|M1-M2",
    "7|1|0|0|нет|Qтв=Q12|нет|да|01,02,03,04|02,03,04|2 2 0 0|V1*p1|нет|нет|нет",
    "7|2|1|0|нет|Qтв=Q12|нет|да|01,02,03,04|02,03,04|2 2 0 0|V1*p1|нет|нет|нет",
    "7|3|3|0|Qг=M3(h3-hx)|Qтв=Q12+Qг|нет|да|03,04|03,04|2 2 4 0|V1*p1|нет|V3*p3|нет",
    "8|1|0|2|нет|Qтв=Q12|нет|да|01,02,03,04|02,03,04|3 3 0 0|нет|V2*p2|нет|нет",
    "8|2|1|2|нет|Qтв=Q12|нет|да|01,02,03,04|02,03,04|3 3 0 0|нет|V2*p2|нет|нет",
    "8|3|3|2|Qг=M3(h3-hx)|Qтв=Q12+Qг|нет|да|03,04|03,04|3 3 4 0|нет|V2*p2|V3*p3|нет",
    "9|1|0|4|нет|Qтв=Q12|нет|нет|01,02,03,04|02,03,04|2 0 0 0|V1*p1|нет|нет|нет",
    "9|2|1|4|нет|Qтв=Q12|нет|нет|01,02,03,04|02,03,04|2 0 0 0|V1*p1|нет|нет|нет",
    "9|3|3|4|Qг=M3(h3-hx)|Qтв=Q12+Qг|нет|нет|03,04|03,04|2 0 4 0|V1*p1|нет|V3*p3|нет",
    "10|1|0|5|нет|Qтв=Q12|нет|нет|01,02,03,04|02,03,04|0 3 0 0|нет|V2*p2|нет|нет",
    "10|2|1|5|нет|Qтв=Q12|нет|нет|01,02,03,04|02,03,04|0 3 0 0|нет|V2*p2|нет|нет",
    "10|3|3|5|Qг=M3(h3-hx)|Qтв=Q12+Qг|нет|нет|03,04|03,04|0 3 4 0|нет|V2*p2|V3*p3|нет",
    "11|1|0|6|нет|Qтв=Q12|нет|нет|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|нет",
    "11|2|1|6|нет|Qтв=Q12|нет|нет|01,02,03,04|02,03,04|2 3 0 0|V1*p1|V2*p2|нет|нет",
    "11|3|3|6|Qг=M3(h3-hx)|Qтв=Q12+Qг|нет|нет|03,04|03,04|2 3 4 0|V1*p1|V2*p2|V3*p3|нет",
    "12|1|0|11|нет|нет|нет|нет|01,02,03,04|01,02,03,04|0 0 0 0|нет|нет|нет|нет",
    "12|2|1|11|нет|нет|нет|нет|01,02,03,04|02,03,04|0 0 0 0|нет|нет|нет|нет",
    "12|3|3|11|нет|нет|нет|нет|03,04|03,04|0 0 0 0|нет|нет|нет|нет",
    "13|1|3|7|нет|Qтв=Q12|нет|да|03,04|03,04|2 3 4 0|V1*p1|V2*p2|V3*p3|нет",
    "13|2|3|1|нет|Qтв=Q12|нет|да|03,04|03,04|2 6 4 0|V1*p1|V2*p2|V3*p3|M3",
    "13|3|3|3|нет|Qтв=Q12|нет|да|03,04|03,04|7 3 4 0|V1*p1|V2*p2|V3*p3|M3",
    "14|1|3|8|нет|Qтв=Q12|нет|да|03,04|03,04|2 3 4 0|V1*p1|V2*p2|V3*p3|нет",
    "14|2|3|9|нет|Qтв=Q12|нет|да|03,04|03,04|2 6 4 0|V1*p1|V2*p2|V3*p3|M3",
    "14|3|3|10|нет|Qтв=Q12|нет|да|03,04|03,04|7 3 4 0|V1*p1|V2*p2|V3*p3|M3",
};

QString Pipes(std::uint8_t mask)
{
    QStringList pipes;
    for (int pipe = 0; pipe < 3; ++pipe) {
        if (mask & (1 << pipe))
            pipes << QString::number(pipe + 1);
    }
    return pipes.isEmpty() ? QStringLiteral("-") : pipes.join(',');
}

QString Models(std::uint8_t mask)
{
    QStringList models;
    for (int model = 0; model < 4; ++model) {
        if (mask & (1 << model))
            models << ModelName(model);
    }
    return models.join(',');
}

QString YesNo(bool value)
{
    return value ? QStringLiteral("да") : QStringLiteral("нет");
}

TEST(SchemeTable, EntriesAsTabled)
{
    QStringList actual;
    for (int scheme = 0; scheme < kSchemeCount; ++scheme) {
        const SchemeEntry& entry = SchemeTable()[scheme];
        actual << QStringList{QString::number(scheme),      QString::fromUtf8(entry.group),
                              Pipes(entry.temperatureMask), Pipes(entry.pressureMask),
                              Pipes(entry.volumeMask),      QString::number(entry.rows.size())}
                      .join('|');
        EXPECT_EQ(SchemeGroupName(scheme), QString::fromUtf8(entry.group));
    }
    ASSERT_EQ(actual.size(), int(std::size(kEntries)));
    for (int i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i], QString::fromUtf8(kEntries[i]));
}

TEST(SchemeTable, EveryCombinationRowAsTabled)
{
    QStringList actual;
    for (int scheme = 1; scheme <= kMaxScheme; ++scheme) {
        const SchemeEntry& entry = SchemeTable()[scheme];
        for (int row = 0; row < int(entry.rows.size()); ++row) {
            const SchemeCombination& c = entry.rows[row];
            const QString codes =
                QStringLiteral("%1 %2 %3 %4").arg(c.codes[0]).arg(c.codes[1]).arg(c.codes[2]).arg(c.codes[3]);
            actual << QStringList{QString::number(scheme),
                                  QString::number(row + 1),
                                  QString::number(c.Kt3()),
                                  QString::number(c.Frt()),
                                  QgLabel(scheme, row, false),
                                  QtvLabel(scheme, row),
                                  YesNo(c.DmControlOffered()),
                                  YesNo(c.DtControlOffered()),
                                  Models(c.modelsTv1),
                                  Models(c.modelsTv2),
                                  codes,
                                  QString::fromUtf8(c.m1),
                                  QString::fromUtf8(c.m2),
                                  QString::fromUtf8(c.m3),
                                  QString::fromUtf8(c.dM)}
                          .join('|');
            EXPECT_EQ(c.word & 0x9000, 0) << "bits 12 and 15 stay clear";
        }
    }
    ASSERT_EQ(actual.size(), int(std::size(kRows)));
    for (int i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i], QString::fromUtf8(kRows[i]));
}

TEST(SchemeTable, RowWordBits)
{
    // Scheme 2 row 5: КТ3 3 | ФРТ 1 << 3 | Qг index 1 << 7 | Qтв index 1 << 10 | dt << 13 | dM << 14.
    EXPECT_EQ(CombinationAt(2, 4)->word, 0x648B);
    // Scheme 12 row 1: ФРТ 11 << 3 | Qг index 4 << 7 | no Qтв << 11.
    EXPECT_EQ(CombinationAt(12, 0)->word, 0x0A58);
    // Scheme 9 row 3: КТ3 3 | ФРТ 4 << 3 | Qг 1 << 7 | Qтв 1 << 10, neither control.
    EXPECT_EQ(CombinationAt(9, 2)->word, 0x04A3);
}

TEST(SchemeTable, LookupComparesKt3AndFrtOnly)
{
    EXPECT_EQ(FindCombination(6, 3, 2), 10);
    EXPECT_EQ(FindCombination(6, 0, 0), 0);
    EXPECT_EQ(FindCombination(14, 3, 10), 2);
    EXPECT_EQ(FindCombination(1, 0, 1), -1);
    EXPECT_EQ(FindCombination(3, 3, 2), -1);
    EXPECT_EQ(FindCombination(0, 4, 11), -1);
    EXPECT_EQ(FindCombination(15, 1, 1), -1);
    EXPECT_EQ(FindCombination(1, 1 + 8, 1), -1) << "a КТ3 wider than its field is no КТ3";
    EXPECT_EQ(CombinationAt(1, 6), nullptr);
    EXPECT_EQ(CombinationAt(-1, 0), nullptr);
}

std::vector<int> Range(int first, int last)
{
    std::vector<int> values;
    for (int i = first; i <= last; ++i)
        values.push_back(i);
    return values;
}

TEST(SchemeTable, SchemesOfferedPerModelAndInput)
{
    std::vector<int> small = {0, 1, 2};
    for (int scheme : Range(4, 12))
        small.push_back(scheme);
    const std::vector<int> all = Range(0, 14);
    const std::vector<int> tv2Small = {0, 12};

    for (int model : {0, 4}) {
        EXPECT_EQ(SchemeListFor(model, 0), small) << model;
        EXPECT_EQ(SchemeListFor(model, 1), tv2Small) << model;
    }
    EXPECT_EQ(SchemeListFor(1, 0), small);
    EXPECT_EQ(SchemeListFor(1, 1), small);
    for (int model : {2, 3}) {
        EXPECT_EQ(SchemeListFor(model, 0), all);
        EXPECT_EQ(SchemeListFor(model, 1), all);
    }
    EXPECT_EQ(SchemeListFor(5, 0), std::vector<int>{0}) << "an invalid model is offered nothing";
    EXPECT_FALSE(SchemeOfferedFor(3, 0, 0));
    EXPECT_FALSE(SchemeOfferedFor(3, 0, 1));
}

TEST(SchemeTable, CombinationsOfferedPerModelAndInput)
{
    EXPECT_EQ(CombinationListFor(1, 0, 0), (std::vector<int>{0, 1}));
    EXPECT_EQ(CombinationListFor(1, 4, 0), (std::vector<int>{0, 1})) << "04.1 is allowed what 01 is";
    EXPECT_EQ(CombinationListFor(1, 0, 1), std::vector<int>{});
    EXPECT_EQ(CombinationListFor(1, 1, 1), (std::vector<int>{0, 1}));
    EXPECT_EQ(CombinationListFor(6, 3, 1), Range(0, 11));
    EXPECT_EQ(CombinationListFor(12, 0, 1), std::vector<int>{0});
    EXPECT_TRUE(SchemeComputesHeat(11));
    EXPECT_FALSE(SchemeComputesHeat(12));
}

TEST(SchemeLabels, HeatFormulaLabels)
{
    const char* q12[] = {"Q12=M1(h1-h2)",
                         "Q12=M1(h1-h2)+dM(h2-hx)",
                         "Q12=M2(h1-h2)",
                         "Q12=M2(h1-h2)+dM(h1-hx)",
                         "Q12=M1(h1-hх)",
                         "Q12=M2(h2-hх)",
                         "Q12=M1(h1-hх)+M2(h2-hх)",
                         "Q12=(M1*h1)-(M2*h2)-(M3*hx)",
                         "Q12=(M1*h1)-(M2*h2)-(M3*h3)",
                         "Q12=M1(h1-h2)+dM(h2-h3)",
                         "Q12=M2(h1-h2)+dM(h1-h3)",
                         "нет"};
    for (unsigned frt = 0; frt < std::size(q12); ++frt)
        EXPECT_EQ(Q12Label(frt), QString::fromUtf8(q12[frt])) << frt;
    EXPECT_EQ(Q12Label(15), QStringLiteral("нет"));
    // Cyrillic х in formulas 4..6, Latin x elsewhere.
    EXPECT_EQ(Q12Label(4).right(2), QStringLiteral("х)"));
    EXPECT_EQ(Q12Label(1).right(2), QStringLiteral("x)"));

    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(QgLabel(12, row, true), QStringLiteral("нет"));
        EXPECT_EQ(QtvLabel(12, row), QStringLiteral("нет"));
        EXPECT_EQ(Q12Label(CombinationAt(12, row)->Frt()), QStringLiteral("нет"));
    }
    EXPECT_EQ(CombinationRowTexts(2, 4, false),
              (QStringList{"", "3", "1", "Q12=M1(h1-h2)+dM(h2-hx)", "Qг=M3(h3-hx)", "Qтв=Q12+Qг", "V1*p1", "V2*p2",
                           "V3*p3", "M1-M2"}));
    EXPECT_EQ(CombinationColumns(), (QStringList{">>>", "КТ3", "ФРТ", "Q12", "Qг", "Qтв", "M1", "M2", "M3", "dM"}));
}

TEST(SchemeLabels, AlternativeQgLabelsOfSchemes2And4And6)
{
    struct Case {
        int scheme, row;  // row counted from 1
        const char* label;
    } cases[] = {
        {2, 1, "Qг=dM(h2-hx)"}, {2, 3, "Qг=dM(h2-hx)"}, {2, 2, "Qг=dM(h1-hx)"}, {2, 4, "Qг=dM(h1-hx)"},
        {4, 1, "Qг=dM(h2-hx)"}, {4, 3, "Qг=dM(h2-hx)"}, {4, 2, "Qг=dM(h1-hx)"}, {4, 4, "Qг=dM(h1-hx)"},
        {6, 2, "Qг=dM(h2-hx)"}, {6, 6, "Qг=dM(h2-hx)"}, {6, 4, "Qг=dM(h1-hx)"}, {6, 8, "Qг=dM(h1-hx)"},
        {2, 5, "Qг=M3(h3-hx)"}, {6, 1, "нет"},          {6, 3, "нет"},          {6, 10, "Qг=M3(h3-hx)"},
        {1, 3, "Qг=dM(h3-hx)"}, {5, 1, "Qг=M3(h2-hx)"}, {3, 2, "Qг=M3(h3-hx)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QgLabel(c.scheme, c.row - 1, true), QString::fromUtf8(c.label)) << c.scheme << "/" << c.row;
        const bool changed = QgLabelIndex(c.scheme, c.row - 1, true) != QgLabelIndex(c.scheme, c.row - 1, false);
        if (changed) {
            EXPECT_EQ(QgLabel(c.scheme, c.row - 1, false), QStringLiteral("нет"));
        }
    }
}

}  // namespace
