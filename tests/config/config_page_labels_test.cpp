// The labels and ids of the configuration part of the page tree.

#include "config/config_page_labels.h"
#include "config/tunes_defaults.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TunesRecord TwoSchemes()
{
    TunesRecord tunes{};
    tunes.db[0].inputs[0].scheme = 1;
    tunes.db[0].inputs[1].scheme = 0;
    tunes.db[1].inputs[0].scheme = 12;
    tunes.db[1].inputs[1].scheme = 14;
    return tunes;
}

}  // namespace

TEST(ConfigPageLabels, SetAndInputLabelsFollowSchemesAndTheSecondSet)
{
    TunesRecord tunes = TwoSchemes();
    tunes.SetDb2Used(true);
    EXPECT_EQ(SetNodeLabel(tunes, 0), QStringLiteral("БД1"));
    EXPECT_EQ(SetNodeLabel(tunes, 1), QStringLiteral("БД2"));
    EXPECT_EQ(InputNodeLabel(tunes, 0, 0), QStringLiteral("ТВ1 (СИ=1)"));
    EXPECT_EQ(InputNodeLabel(tunes, 0, 1), QStringLiteral("ТВ2 (не исп.)"));
    EXPECT_EQ(InputNodeLabel(tunes, 1, 0), QStringLiteral("ТВ1 (СИ=12)"));
    EXPECT_EQ(InputNodeLabel(tunes, 1, 1), QStringLiteral("ТВ2 (СИ=14)"));

    // The second set out of use: its node and all its inputs say so, its schemes stay in the record.
    tunes.SetDb2Used(false);
    EXPECT_EQ(SetNodeLabel(tunes, 0), QStringLiteral("БД1"));
    EXPECT_EQ(SetNodeLabel(tunes, 1), QStringLiteral("БД2 (не исп.)"));
    EXPECT_EQ(InputNodeLabel(tunes, 0, 0), QStringLiteral("ТВ1 (СИ=1)"));
    EXPECT_EQ(InputNodeLabel(tunes, 1, 0), QStringLiteral("ТВ1 (не исп.)"));
    EXPECT_EQ(InputNodeLabel(tunes, 1, 1), QStringLiteral("ТВ2 (не исп.)"));
    EXPECT_EQ(tunes.db[1].inputs[1].scheme, 14);
}

TEST(ConfigPageLabels, AnIndexOutOfRangeReadsError)
{
    const TunesRecord tunes = TwoSchemes();
    for (int set : {-1, 2, 100})
        EXPECT_EQ(SetNodeLabel(tunes, set), QStringLiteral("error")) << set;
    EXPECT_EQ(InputNodeLabel(tunes, 2, 0), QStringLiteral("error"));
    EXPECT_EQ(InputNodeLabel(tunes, -1, 0), QStringLiteral("error"));
    EXPECT_EQ(InputNodeLabel(tunes, 0, 2), QStringLiteral("error"));
    EXPECT_EQ(InputNodeLabel(tunes, 0, -1), QStringLiteral("error"));
}

TEST(ConfigPageLabels, PageIdsAreDistinctAndStayBelowTheOtherPages)
{
    std::set<int> ids{0, ConfigPageIds::kSystem, ConfigPageIds::kControlsAndAlarms};
    int count = 3;
    for (int set = 0; set < kDbCount; ++set) {
        ids.insert(ConfigPageIds::SetNode(set));
        ids.insert(ConfigPageIds::ThermalInputs(set));
        count += 2;
        for (int input = 0; input < kInputCount; ++input) {
            ids.insert(ConfigPageIds::InputNode(set, input));
            ids.insert(ConfigPageIds::InputScheme(set, input));
            ids.insert(ConfigPageIds::InputPipes(set, input));
            count += 3;
        }
    }
    EXPECT_EQ(int(ids.size()), count);
    EXPECT_GE(*ids.begin(), 0);
    EXPECT_LT(*ids.rbegin(), 100);  // 100 and above belong to the service and archive pages
    EXPECT_EQ(ConfigPageIds::SetNode(2), -1);
    EXPECT_EQ(ConfigPageIds::ThermalInputs(-1), -1);
    EXPECT_EQ(ConfigPageIds::InputNode(0, 2), -1);
    EXPECT_EQ(ConfigPageIds::InputScheme(2, 0), -1);
    EXPECT_EQ(ConfigPageIds::InputPipes(1, -1), -1);
}
