// Choosing a scheme and a combination, and the cold-water temperature choices of an input.

#include <gtest/gtest.h>

#include "config/scheme_picker.h"
#include "config/scheme_table.h"
#include "config/tunes_defaults.h"
#include "config/tunes_validation.h"
#include "config/tx_choices.h"
#include "support/recording_message_host.h"

namespace {

constexpr unsigned kInformation = MessageStyle::kOk | MessageStyle::kIconInformation;
const QString kTv2TxInUse = QStringLiteral(
    "Измеряемая tx используется в ТВ2. Необходимо предварительно изменить способ использования tx в ТВ2!");

struct Fixture {
    explicit Fixture(int model = 3)
    {
        MakeDefaultConfiguration(blocks);
        blocks.identity.modelIndex = std::uint8_t(model);
    }

    DbSettings& Db() { return blocks.tunes.db[0]; }
    InputSettings& In(int t) { return Db().inputs[t]; }
    void Scheme(int t, int scheme, int row = 0)
    {
        In(t).scheme = std::uint8_t(scheme);
        MakeDefaultInput(Db(), t, blocks.identity.modelIndex);
        In(t).SetKt3(CombinationAt(scheme, row)->Kt3());
        In(t).SetFrt(CombinationAt(scheme, row)->Frt());
    }
    std::vector<unsigned> Values(int t)
    {
        std::vector<unsigned> values;
        for (const TxChoice& choice : BuildTxChoices(Db(), t, blocks.identity).entries)
            values.push_back(choice.value);
        return values;
    }

    ConfigurationBlocks blocks;
    RecordingMessageHost host;
};

TEST(TxChoices, NoListWhereTheFormulaNeedsNoColdWater)
{
    Fixture f;
    f.Scheme(0, 12);
    const TxChoices choices = BuildTxChoices(f.Db(), 0, f.blocks.identity);
    EXPECT_FALSE(choices.enabled);
    EXPECT_TRUE(choices.entries.empty());
    EXPECT_EQ(f.In(0).ColdWaterUse(), 0u) << "the contract tx default is dropped";

    f.Scheme(0, 8, 0);  // ФРТ 2 and no Qг
    EXPECT_FALSE(BuildTxChoices(f.Db(), 0, f.blocks.identity).enabled);
    f.Scheme(0, 8, 2);  // ФРТ 2, but Qг=M3(h3-hx) takes hx
    EXPECT_TRUE(BuildTxChoices(f.Db(), 0, f.blocks.identity).enabled);
    f.blocks.identity.flags = 1;
    f.Scheme(0, 6, 1);  // Qг=dM(h2-hx) with the alternative labels
    EXPECT_TRUE(BuildTxChoices(f.Db(), 0, f.blocks.identity).enabled);
}

TEST(TxChoices, SpareChannelsOfferedByModelCombinationAndTheOtherInput)
{
    Fixture f;
    f.Scheme(0, 6, 1);
    TxChoices choices = BuildTxChoices(f.Db(), 0, f.blocks.identity);
    ASSERT_EQ(choices.entries.size(), 3u);
    EXPECT_EQ(choices.entries[0].text, QStringLiteral("Не исп."));
    EXPECT_EQ(choices.entries[1].text, QStringLiteral("Договорная"));
    EXPECT_EQ(choices.entries[2].text, QStringLiteral("Измеряется на X3"));
    EXPECT_EQ(choices.selected, 1);

    f.Scheme(1, 6, 1);  // ТВ2 gets a scheme with КТ3 0: its spare channel is free for ТВ1
    EXPECT_EQ(f.Values(0), (std::vector<unsigned>{0, 1, 2, 3}));
    choices = BuildTxChoices(f.Db(), 1, f.blocks.identity);
    EXPECT_EQ(choices.entries[2].text, QStringLiteral("Измеряется на X4"));
    EXPECT_EQ(choices.entries[3].text, QStringLiteral("Измеряется на X3"));

    f.Scheme(1, 6, 8);  // ТВ2 КТ3 3: its channel carries t3
    EXPECT_EQ(f.Values(0), (std::vector<unsigned>{0, 1, 2}));
    f.In(1).SetColdWaterUse(2);  // ... unless ТВ2 itself measures tx there
    EXPECT_EQ(f.Values(0), (std::vector<unsigned>{0, 1, 2, 3}));

    f.Scheme(0, 6, 8);  // ТВ1 КТ3 3: own channel taken by t3
    EXPECT_EQ(f.Values(0), (std::vector<unsigned>{0, 1, 3}));
    f.Scheme(0, 6, 1);
    f.In(0).SetOutdoorAirMeasured(true);
    EXPECT_EQ(f.Values(0), (std::vector<unsigned>{0, 1, 3}));

    Fixture small(1);  // "02": no spare channels
    small.Scheme(0, 6, 1);
    small.Scheme(1, 6, 1);
    EXPECT_EQ(small.Values(0), (std::vector<unsigned>{0, 1}));
    EXPECT_EQ(small.Values(1), (std::vector<unsigned>{0, 1}));
}

TEST(TxChoices, AValueNoLongerOfferedFallsBackToTheFirst)
{
    Fixture f;
    f.Scheme(0, 6, 1);
    f.In(0).SetColdWaterUse(3);  // ТВ2 has no scheme
    const TxChoices choices = BuildTxChoices(f.Db(), 0, f.blocks.identity);
    EXPECT_EQ(choices.selected, 0);
    EXPECT_EQ(f.In(0).ColdWaterUse(), 0u);
}

TEST(TxChoices, GivingUpTheOwnChannelWhileTheOtherInputReadsIt)
{
    Fixture f;
    f.Scheme(0, 6, 1);
    f.Scheme(1, 6, 1);
    f.In(0).SetColdWaterUse(2);
    f.In(1).SetColdWaterUse(3);
    const TxChoices choices = BuildTxChoices(f.Db(), 0, f.blocks.identity);

    EXPECT_FALSE(SelectTxChoice(f.Db(), 0, choices, 1, f.host));
    ASSERT_EQ(f.host.shown.size(), 1u);
    EXPECT_EQ(f.host.LastText(), kTv2TxInUse);
    EXPECT_EQ(f.host.shown[0].style, kInformation);
    EXPECT_EQ(f.In(0).ColdWaterUse(), 2u);

    EXPECT_FALSE(SelectTxChoice(f.Db(), 0, choices, 9, f.host));
    EXPECT_EQ(f.host.LastText(), QStringLiteral("Ошибка выполнения CDlgMainConfigWiScheme::OnSelchangeComboUseTx!"));
    EXPECT_EQ(f.host.shown.back().caption, QStringLiteral("Ошибка"));

    f.In(1).SetColdWaterUse(1);
    EXPECT_TRUE(SelectTxChoice(f.Db(), 0, choices, 1, f.host));
    EXPECT_EQ(f.In(0).ColdWaterUse(), 1u);
}

TEST(SchemePicker, RefusalsLeaveTheInputAsItWas)
{
    Fixture f(0);  // "01"
    f.Scheme(0, 1);
    f.In(0).maxImbalance = 3.0f;
    const InputSettings before = f.In(0);

    EXPECT_FALSE(ApplySchemeChoice(f.Db(), 0, f.blocks.identity, 3, -1, f.host));
    EXPECT_EQ(f.host.LastText(), QStringLiteral("Недопустимое сочетание параметров КТ3/ФРТ!"));

    EXPECT_FALSE(ApplySchemeChoice(f.Db(), 0, f.blocks.identity, 1, 0, f.host));
    EXPECT_EQ(f.host.shown.size(), 1u) << "the same scheme and row: nothing to do, nothing said";

    for (int input : {0, 1}) {
        f.host.answers = {MessageAnswer::kYes};
        EXPECT_FALSE(ApplySchemeChoice(f.Db(), input, f.blocks.identity, 3, 0, f.host));
        EXPECT_EQ(f.host.LastText(),
                  QStringLiteral("Выбранное сочетание СИ, КТ3 и ФРТ недопустимо для вычислителя модели 01!"));
    }
    EXPECT_EQ(std::uint32_t(f.In(0).word), std::uint32_t(before.word));
    EXPECT_EQ(float(f.In(0).maxImbalance), 3.0f);
    EXPECT_EQ(f.In(1).scheme, 0);
}

TEST(SchemePicker, TheOtherInputsTxKeepsPipe3OffItsChannel)
{
    Fixture f;
    f.Scheme(0, 1);
    f.Scheme(1, 1);
    f.In(1).SetColdWaterUse(3);
    EXPECT_FALSE(ApplySchemeChoice(f.Db(), 0, f.blocks.identity, 1, 4, f.host));  // КТ3 3
    EXPECT_EQ(f.host.LastText(), kTv2TxInUse);
    EXPECT_EQ(f.In(0).Kt3(), 1u);
}

TEST(SchemePicker, QuestionsBeforeTheInputIsReset)
{
    Fixture f;
    const QString newScheme = QStringLiteral(
        "Изменение схемы измерения теплового ввода приведёт к установке параметров по умолчанию. Продолжить изменение?");
    const QString otherRow = QStringLiteral(
        "Изменение КТ3 или ФРТ приведёт к установке других параметров в значения по умолчанию. Продолжить изменение?");

    EXPECT_TRUE(ApplySchemeChoice(f.Db(), 0, f.blocks.identity, 1, 0, f.host));
    EXPECT_TRUE(f.host.shown.empty()) << "an unused input gets its first scheme without a question";

    f.In(0).maxImbalance = 2.5f;
    f.host.answers = {MessageAnswer::kNo};
    EXPECT_FALSE(ApplySchemeChoice(f.Db(), 0, f.blocks.identity, 6, 2, f.host));
    EXPECT_EQ(f.host.LastText(), newScheme);
    EXPECT_EQ(f.host.shown.back().caption, QStringLiteral("Подтверждение"));
    EXPECT_EQ(f.host.shown.back().style, MessageStyle::kYesNo | MessageStyle::kIconQuestion);
    EXPECT_EQ(f.In(0).scheme, 1);

    f.host.answers = {MessageAnswer::kYes};
    EXPECT_TRUE(ApplySchemeChoice(f.Db(), 0, f.blocks.identity, 6, 2, f.host));
    EXPECT_EQ(f.In(0).scheme, 6);
    EXPECT_EQ(f.In(0).Kt3(), 0u);
    EXPECT_EQ(f.In(0).Frt(), 2u);
    EXPECT_EQ(float(f.In(0).maxImbalance), 1.0f) << "the input starts from its defaults";

    f.host.answers = {MessageAnswer::kYes};
    EXPECT_TRUE(ApplySchemeChoice(f.Db(), 0, f.blocks.identity, 6, 11, f.host));
    EXPECT_EQ(f.host.LastText(), otherRow);
    EXPECT_EQ(f.In(0).Kt3(), 3u);

    f.host.answers = {MessageAnswer::kYes};
    EXPECT_TRUE(ApplySchemeChoice(f.Db(), 0, f.blocks.identity, 0, -1, f.host));
    EXPECT_EQ(f.host.LastText(), QStringLiteral("Удалить тепловой ввод?"));
    EXPECT_EQ(f.In(0).scheme, 0);
    EXPECT_EQ(f.In(0).Kt3(), 4u);
    EXPECT_EQ(f.In(0).Frt(), 11u);
}

TEST(SchemePicker, ASchemeTheModelDoesNotOfferIsRemovedWhenShown)
{
    Fixture f(0);
    f.In(1).scheme = 6;
    f.In(0).scheme = 12;
    EXPECT_TRUE(RemoveSchemeNotOffered(f.Db(), 1, f.blocks.identity, f.host));
    EXPECT_EQ(f.host.LastText(),
              QStringLiteral("Схема измерения 6 недопустима для вычислителя модели 01. ТВ будет удален."));
    EXPECT_EQ(f.host.shown.back().style, kInformation);
    EXPECT_EQ(f.In(1).scheme, 0);
    EXPECT_EQ(f.In(1).Kt3(), 4u);
    EXPECT_EQ(f.In(1).Frt(), 11u);
    EXPECT_FALSE(RemoveSchemeNotOffered(f.Db(), 0, f.blocks.identity, f.host));

    f.blocks.identity.modelIndex = 4;
    f.In(0).scheme = 13;
    EXPECT_TRUE(RemoveSchemeNotOffered(f.Db(), 0, f.blocks.identity, f.host));
    EXPECT_EQ(f.host.LastText(),
              QStringLiteral("Схема измерения 13 недопустима для вычислителя модели 04.1. ТВ будет удален."));
}

TEST(SchemePicker, TxOnTheOtherChannelOutlivesTheOtherInputsScheme)
{
    Fixture f;
    ASSERT_TRUE(ApplySchemeChoice(f.Db(), 0, f.blocks.identity, 6, 1, f.host));
    ASSERT_TRUE(ApplySchemeChoice(f.Db(), 1, f.blocks.identity, 6, 1, f.host));
    const TxChoices choices = BuildTxChoices(f.Db(), 0, f.blocks.identity);
    ASSERT_EQ(choices.entries.back().value, 3u);
    ASSERT_TRUE(SelectTxChoice(f.Db(), 0, choices, int(choices.entries.size()) - 1, f.host));

    f.host.answers = {MessageAnswer::kYes};
    ASSERT_TRUE(ApplySchemeChoice(f.Db(), 1, f.blocks.identity, 0, -1, f.host));
    EXPECT_EQ(f.In(0).ColdWaterUse(), 3u);
    EXPECT_TRUE(ValidateTunes(f.blocks, f.host)) << f.host.LastText().toStdString();

    f.blocks.identity.modelIndex = 1;  // "02" has no spare channel on ТВ2
    EXPECT_FALSE(ValidateTunes(f.blocks, f.host));
    EXPECT_EQ(f.host.LastText(),
              QStringLiteral("Задано измерение tx в ТВ1 в БД1 (на канале R6), но в данной модели "
                             "вычислителя отсутствует измерительный канал!"));
}

}  // namespace
