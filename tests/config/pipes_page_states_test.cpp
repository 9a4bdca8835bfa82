// The channel states of the pipes page against what schemes, КТ3, sensors and meter models allow.

#include <gtest/gtest.h>

#include "config/pipes_page_states.h"
#include "config/scheme_table.h"
#include "config/tunes_defaults.h"

namespace {

constexpr ChannelState kM = ChannelState::kMeasured;
constexpr ChannelState kC = ChannelState::kContract;
constexpr ChannelState kU = ChannelState::kUnused;

// A default configuration of `model` whose input `input` of set `set` has the scheme and КТ3.
ConfigurationBlocks WithScheme(int model, int set, int input, int scheme, unsigned kt3, std::uint16_t level = 600)
{
    ConfigurationBlocks blocks;
    MakeDefaultConfiguration(blocks);
    blocks.identity.modelIndex = std::uint8_t(model);
    blocks.identity.firmwareLevel = level;
    InputSettings& in = blocks.tunes.db[set].inputs[input];
    in.scheme = std::uint8_t(scheme);
    in.SetKt3(kt3);
    return blocks;
}

void ExpectStates(const ConfigurationBlocks& blocks, int set, int input, int pipe, ChannelState t, ChannelState p,
                  ChannelState v, bool pressureChannel)
{
    const PipeChannelStates states = PipeChannelStatesOf(blocks, set, input, pipe);
    EXPECT_EQ(states.temperature, t) << "ТВ" << input + 1 << " pipe " << pipe + 1;
    EXPECT_EQ(states.pressure, p) << "ТВ" << input + 1 << " pipe " << pipe + 1;
    EXPECT_EQ(states.volume, v) << "ТВ" << input + 1 << " pipe " << pipe + 1;
    EXPECT_EQ(states.pressureChannel, pressureChannel) << "ТВ" << input + 1 << " pipe " << pipe + 1;
}

TEST(PipesPageStates, ModelFourMeasuresWhatItHasChannelsFor)
{
    // Scheme 5 with КТ3 3: every pipe of ТВ1 in full.
    ConfigurationBlocks blocks = WithScheme(3, 0, 0, 5, 3);
    blocks.tunes.db[0].pipes[0][0].SetPressureSensor(true);
    ExpectStates(blocks, 0, 0, 0, kM, kM, kM, true);
    ExpectStates(blocks, 0, 0, 1, kM, kC, kM, true);  // no sensor set: the contract pressure counts
    ExpectStates(blocks, 0, 0, 2, kM, kC, kM, true);

    // ТВ2 of "04" has no pressure channel on pipe 3: a sensor set there is not measured.
    blocks = WithScheme(3, 1, 1, 5, 3);
    blocks.tunes.db[1].pipes[1][2].SetPressureSensor(true);
    blocks.tunes.db[1].pipes[1][1].SetPressureSensor(true);
    ExpectStates(blocks, 1, 1, 1, kM, kM, kM, true);
    ExpectStates(blocks, 1, 1, 2, kM, kC, kM, false);
}

TEST(PipesPageStates, SmallModelsTakeContractValues)
{
    // "01", scheme 2 with КТ3 0 on ТВ1: no pressure channel anywhere, pipe 3 left out by КТ3.
    ConfigurationBlocks blocks = WithScheme(0, 0, 0, 2, 0);
    blocks.tunes.db[0].pipes[0][0].SetPressureSensor(true);
    ExpectStates(blocks, 0, 0, 0, kM, kC, kM, false);
    ExpectStates(blocks, 0, 0, 2, kU, kU, kU, false);

    // "01", scheme 12 on ТВ2: t only on pipe 3 (left out), V2 has no channel on this model.
    blocks = WithScheme(0, 0, 1, 12, 0);
    ExpectStates(blocks, 0, 1, 0, kU, kC, kM, false);
    ExpectStates(blocks, 0, 1, 1, kU, kC, kU, false);
    ExpectStates(blocks, 0, 1, 2, kU, kU, kU, false);

    // "02", scheme 9 (pipes 1 and 3) with КТ3 3: t3 has no channel, so it is a contract value.
    blocks = WithScheme(1, 0, 0, 9, 3);
    ExpectStates(blocks, 0, 0, 1, kU, kU, kU, false);
    ExpectStates(blocks, 0, 0, 2, kC, kC, kM, false);

    // "04.1" has pressure channels on ТВ1 only.
    blocks = WithScheme(4, 0, 0, 6, 0);
    blocks.tunes.db[0].pipes[0][1].SetPressureSensor(true);
    ExpectStates(blocks, 0, 0, 1, kM, kM, kM, true);
}

TEST(PipesPageStates, PipeThreePressureFollowsKt3AndFirmwareLevel)
{
    // КТ3 1 gives pipe 3 a volume; its pressure only from level 517.
    ExpectStates(WithScheme(3, 0, 0, 2, 1, 516), 0, 0, 2, kU, kU, kM, true);
    ExpectStates(WithScheme(3, 0, 0, 2, 1, 517), 0, 0, 2, kU, kC, kM, true);
}

TEST(PipesPageStates, InputsWithoutSchemeAndSetsNotInUse)
{
    ConfigurationBlocks blocks = WithScheme(3, 0, 1, 0, kNoSchemeKt3);
    for (int p = 0; p < kPipeCount; ++p)
        ExpectStates(blocks, 0, 1, p, kU, kU, kU, p < 2);
    EXPECT_FALSE(PipesEditable(blocks.tunes, 0, 1));
    blocks.tunes.db[0].inputs[1].scheme = 15;  // not a scheme at all
    ExpectStates(blocks, 0, 1, 0, kU, kU, kU, true);
    EXPECT_FALSE(PipesEditable(blocks.tunes, 0, 1));

    blocks = WithScheme(3, 1, 0, 6, 0);
    EXPECT_FALSE(PipesEditable(blocks.tunes, 1, 0));  // БД2 not in use
    blocks.tunes.SetDb2Used(true);
    EXPECT_TRUE(PipesEditable(blocks.tunes, 1, 0));
    blocks = WithScheme(3, 0, 0, 14, 3);
    EXPECT_TRUE(PipesEditable(blocks.tunes, 0, 0));  // БД1 is always in use
}

TEST(PipesPageStates, TextsAndCaptions)
{
    EXPECT_EQ(TemperatureStateText(kM), QStringLiteral("(t измеряется)"));
    EXPECT_EQ(TemperatureStateText(kC), QStringLiteral("(t договорное)"));
    EXPECT_EQ(TemperatureStateText(kU), QStringLiteral("(t не исп.)"));
    EXPECT_EQ(PressureStateText(kM), QStringLiteral("(P измеряется)"));
    EXPECT_EQ(PressureStateText(kC), QStringLiteral("(P договорное)"));
    EXPECT_EQ(PressureStateText(kU), QStringLiteral("(P не исп.)"));
    EXPECT_EQ(VolumeStateText(kM), QStringLiteral("(V измеряется)"));
    EXPECT_EQ(VolumeStateText(kU), QStringLiteral("(V не исп.)"));
    // Latin t, P and V.
    EXPECT_EQ(PressureStateText(kM).toUtf8().mid(1, 1), QByteArray("P"));
    EXPECT_EQ(ContractPressureCaption(kUnitSystemSi), QStringLiteral("P,догов.знач.(МПа):"));
    EXPECT_EQ(ContractPressureCaption(kUnitSystemMks), QStringLiteral("P,догов.знач.(кгс/см2):"));
    EXPECT_EQ(SensorLimitCaption(kUnitSystemSi), QStringLiteral("Pв. (МПа)"));
    EXPECT_EQ(SensorLimitCaption(kUnitSystemMks), QStringLiteral("Pв. (кгс/см2)"));
}

}  // namespace
