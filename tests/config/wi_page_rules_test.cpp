// The rules of the input pages: the labels of the thermal-inputs list, what the page "Общие" offers and
// what it brings into line before showing an input.

#include <gtest/gtest.h>

#include "config/config_page_labels.h"
#include "config/scheme_table.h"
#include "config/tunes_defaults.h"
#include "config/wi_scheme_page_rules.h"

namespace {

ConfigurationBlocks WithSchemeRow(int model, int set, int input, int scheme, int row)
{
    ConfigurationBlocks blocks;
    MakeDefaultConfiguration(blocks);
    blocks.identity.modelIndex = std::uint8_t(model);
    DbSettings& db = blocks.tunes.db[set];
    db.inputs[input].scheme = std::uint8_t(scheme);
    MakeDefaultInput(db, input, model);
    db.inputs[input].SetKt3(CombinationAt(scheme, row)->Kt3());
    db.inputs[input].SetFrt(CombinationAt(scheme, row)->Frt());
    return blocks;
}

TEST(InputNodeLabel, SchemeOrNotUsedAndTheSecondSetOnlyWhileInUse)
{
    ConfigurationBlocks blocks = WithSchemeRow(3, 1, 1, 12, 0);
    blocks.tunes.db[0].inputs[0].scheme = 6;
    EXPECT_EQ(InputNodeLabel(blocks.tunes, 0, 0), QStringLiteral("ТВ1 (СИ=6)"));
    EXPECT_EQ(InputNodeLabel(blocks.tunes, 0, 1), QStringLiteral("ТВ2 (не исп.)"));
    EXPECT_EQ(InputNodeLabel(blocks.tunes, 1, 1), QStringLiteral("ТВ2 (не исп.)")) << "БД2 is not in use";
    blocks.tunes.SetDb2Used(true);
    EXPECT_EQ(InputNodeLabel(blocks.tunes, 1, 1), QStringLiteral("ТВ2 (СИ=12)"));
    EXPECT_EQ(InputNodeLabel(blocks.tunes, 1, 0), QStringLiteral("ТВ1 (не исп.)"));
    EXPECT_EQ(InputNodeLabel(blocks.tunes, 2, 0), QStringLiteral("error"));
    EXPECT_EQ(InputNodeLabel(blocks.tunes, 0, 2), QStringLiteral("error"));
    EXPECT_EQ(InputNodeLabel(blocks.tunes, -1, 0), QStringLiteral("error"));
}

TEST(WiSchemePageRules, ControlsOfferedByTheCombination)
{
    // Scheme 6 row 1 (ФРТ 0): dt control only; row 2 (ФРТ 1): dM as well.
    ConfigurationBlocks blocks = WithSchemeRow(3, 0, 0, 6, 0);
    WiSchemeControlStates states = BringInputIntoLine(blocks, 0, 0);
    EXPECT_TRUE(states.page);
    EXPECT_TRUE(states.inputSettings);
    EXPECT_FALSE(states.imbalanceControl);
    EXPECT_TRUE(states.deltaTControl);
    EXPECT_TRUE(states.heatControl);
    blocks = WithSchemeRow(3, 0, 0, 6, 1);
    EXPECT_TRUE(BringInputIntoLine(blocks, 0, 0).imbalanceControl);
    // Dead-end hot water: neither.
    blocks = WithSchemeRow(3, 0, 0, 9, 0);
    states = BringInputIntoLine(blocks, 0, 0);
    EXPECT_FALSE(states.imbalanceControl);
    EXPECT_FALSE(states.deltaTControl);

    // Scheme 12 computes no heat: "Контр.Q" goes to 0 and is not offered.
    blocks = WithSchemeRow(3, 0, 1, 12, 0);
    blocks.tunes.db[0].inputs[1].SetHeatControl(2);
    states = BringInputIntoLine(blocks, 0, 1);
    EXPECT_FALSE(states.heatControl);
    EXPECT_EQ(blocks.tunes.db[0].inputs[1].HeatControl(), 0u);

    // An input without a scheme, or any input of an unused БД2: nothing applies and nothing is touched.
    blocks = WithSchemeRow(3, 1, 0, 6, 1);
    blocks.tunes.db[1].inputs[0].SetHeatControl(3);
    const std::uint32_t before = blocks.tunes.db[1].inputs[0].word;
    states = BringInputIntoLine(blocks, 1, 0);
    EXPECT_FALSE(states.page);
    EXPECT_FALSE(states.inputSettings);
    EXPECT_EQ(blocks.tunes.db[1].inputs[0].word, before);
    states = BringInputIntoLine(blocks, 0, 0);
    EXPECT_TRUE(states.page);
    EXPECT_FALSE(states.inputSettings);
}

TEST(WiSchemePageRules, OutdoorAirOnlyOnAFreeSpareChannel)
{
    ConfigurationBlocks blocks = WithSchemeRow(3, 0, 0, 6, 1);  // КТ3 0, tx contract
    InputSettings& in = blocks.tunes.db[0].inputs[0];
    EXPECT_TRUE(OutdoorAirMeasurable(in, 0, 3));
    in.SetOutdoorAirMeasured(true);
    EXPECT_TRUE(BringInputIntoLine(blocks, 0, 0).outdoorAirMeasurable);
    EXPECT_TRUE(in.OutdoorAirMeasured());

    in.SetColdWaterUse(2);  // tx measured on the own spare channel
    EXPECT_FALSE(BringInputIntoLine(blocks, 0, 0).outdoorAirMeasurable);
    EXPECT_FALSE(in.OutdoorAirMeasured()) << "a tнв the channel cannot carry is cleared";

    in.SetColdWaterUse(1);
    EXPECT_FALSE(OutdoorAirMeasurable(in, 0, 1)) << "model 02 has no X3";
    EXPECT_FALSE(OutdoorAirMeasurable(in, 1, 1)) << "nor X4";
    EXPECT_FALSE(OutdoorAirMeasurable(in, 0, 0));
    EXPECT_TRUE(OutdoorAirMeasurable(in, 1, 2)) << "model 03 has X4";
    for (const unsigned kt3 : {2u, 3u}) {
        in.SetKt3(kt3);
        EXPECT_FALSE(OutdoorAirMeasurable(in, 0, 3)) << "t3 takes the channel, КТ3 " << kt3;
    }
    in.SetKt3(1);
    EXPECT_TRUE(OutdoorAirMeasurable(in, 0, 3));
}

}  // namespace
