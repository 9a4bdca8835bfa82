// The thermal-inputs page and the input page "Общие" on the demo meter's configuration: schemes chosen
// through the picker with its questions answered by the test, what the record and the tree get, the
// refusals, the model's limits and the rules that enable the input's controls.

#include "gui_rigs/wi_page_driving.h"
#include "gui_rigs/wi_page_host.h"

#include "config/scheme_table.h"
#include "config/tunes_defaults.h"
#include "gui/config/scheme_picture.h"
#include "gui/config/thermal_inputs_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const QString kTv2TxInUse = QStringLiteral(
    "Измеряемая tx используется в ТВ2. Необходимо предварительно изменить способ использования tx в ТВ2!");

QComboBox* Combo(const QWidget& page, const char* name)
{
    return NamedChild<QComboBox>(page, QString::fromLatin1(name));
}

QLineEdit* Edit(const QWidget& page, const char* name)
{
    return NamedChild<QLineEdit>(page, QString::fromLatin1(name));
}

// An input set up as the picker would leave it.
void SetScheme(WiPageHost& host, int set, int input, int scheme, int row)
{
    DbSettings& db = host.Blocks().tunes.db[set];
    db.inputs[input].scheme = std::uint8_t(scheme);
    MakeDefaultInput(db, input, host.Blocks().identity.modelIndex);
    db.inputs[input].SetKt3(CombinationAt(scheme, row)->Kt3());
    db.inputs[input].SetFrt(CombinationAt(scheme, row)->Frt());
}

QStringList ListTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

TEST(WiSchemePage, SchemesChosenThroughThePickerReachTheRecordTheTreeAndTheMeter)
{
    WiPageHost host;
    ASSERT_TRUE(host.Connect());
    ASSERT_EQ(host.Blocks().identity.modelIndex, 3);

    CDlgMainConfigWi inputs(host, 0);
    EXPECT_EQ(inputs.Caption(), QStringLiteral("Тепловые вводы"));
    EXPECT_EQ(ListTexts(inputs.InputList()),
              QStringList({QStringLiteral("ТВ1 (не исп.)"), QStringLiteral("ТВ2 (не исп.)")}));
    inputs.show();
    QSignalSpy chosen(&inputs, &CDlgMainConfigWi::inputChosen);
    QTest::mouseClick(inputs.InputList()->viewport(), Qt::LeftButton, {},
                      inputs.InputList()->visualItemRect(inputs.InputList()->item(1)).center());
    ASSERT_GE(chosen.count(), 1);
    EXPECT_EQ(chosen.last().at(0).toInt(), 1);

    CDlgMainConfigWiScheme page(host, 0, 0);
    page.show();
    CSchemeChoiceView* view = page.ChoiceView();
    EXPECT_EQ(view->Picture()->PictureCaption(), QStringLiteral("ТВ НЕ ИСПОЛЬЗУЕТСЯ"));
    EXPECT_EQ(view->SchemeList()->topLevelItemCount(), 15) << "model 04 is offered every scheme";
    EXPECT_EQ(view->CombinationList()->topLevelItemCount(), 0);
    EXPECT_EQ(view->CombinationList()->headerItem()->text(0), QStringLiteral(">>>"));
    EXPECT_EQ(view->CombinationList()->headerItem()->text(9), QStringLiteral("dM"));
    EXPECT_FALSE(Combo(page, "txUse")->isEnabled());
    EXPECT_FALSE(Combo(page, "temperatureControl")->isEnabled());
    EXPECT_TRUE(NamedChild<QPushButton>(page, QStringLiteral("chooseScheme"))->isEnabled());

    // The first scheme of an input comes without a question.
    ASSERT_TRUE(RunPicker(page, [&](CSchemePickerDialog& picker) {
        EXPECT_EQ(picker.windowTitle(), QStringLiteral("Выбор схемы измерения"));
        PickScheme(picker, 6);
        EXPECT_EQ(picker.View()->CombinationList()->topLevelItemCount(), 12);
        PickCombination(picker, 0, 1);
        EXPECT_EQ(picker.View()->Picture()->PictureCaption(), QStringLiteral("СИ 6, КТ3=0, ФРТ=1"));
        PressOk(picker);
        EXPECT_FALSE(picker.isVisible());
    }));
    EXPECT_TRUE(host.messages.empty()) << host.MessageTexts().join('\n').toStdString();
    EXPECT_EQ(host.labelsChanged, 1);
    const InputSettings& in = host.In(0, 0);
    EXPECT_EQ(+in.scheme, 6);
    EXPECT_EQ(in.Kt3(), 0u);
    EXPECT_EQ(in.Frt(), 1u);
    EXPECT_EQ(float(+in.maxImbalance), 1.0f);
    EXPECT_EQ(+in.contractColdTemperature, 4.0f);
    EXPECT_EQ(+in.contractColdPressure, 0.1f);
    EXPECT_EQ(in.ColdWaterUse(), 1u);
    EXPECT_EQ(view->Picture()->PictureCaption(), QStringLiteral("СИ 6, КТ3=0, ФРТ=1"));
    QTreeWidgetItem* current = RowWith(view->CombinationList(), {0}, {QStringLiteral(">>>")});
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(3), QStringLiteral("Q12=M1(h1-h2)+dM(h2-hx)"));
    EXPECT_EQ(
        ComboTexts(Combo(page, "txUse")),
        QStringList({QStringLiteral("Не исп."), QStringLiteral("Договорная"), QStringLiteral("Измеряется на X3")}));
    EXPECT_EQ(Combo(page, "txUse")->currentText(), QStringLiteral("Договорная"));
    EXPECT_TRUE(Combo(page, "imbalanceControl")->isEnabled());
    inputs.OnPageShown();
    EXPECT_EQ(inputs.InputList()->item(0)->text(), QStringLiteral("ТВ1 (СИ=6)"));

    // Another scheme is asked for first; "no" keeps the picker open and the input as it was.
    host.answers = {MessageAnswer::kNo, MessageAnswer::kYes};
    ASSERT_TRUE(RunPicker(page, [&](CSchemePickerDialog& picker) {
        PickScheme(picker, 2);
        PickCombination(picker, 3, 1);
        PressOk(picker);
        EXPECT_TRUE(picker.isVisible());
        EXPECT_EQ(+host.In(0, 0).scheme, 6);
        PressOk(picker);
        EXPECT_FALSE(picker.isVisible());
    }));
    ASSERT_EQ(host.messages.size(), 2u);
    for (const UserMessage& question : host.messages) {
        EXPECT_EQ(question.text,
                  QStringLiteral("Изменение схемы измерения теплового ввода приведёт к установке "
                                 "параметров по умолчанию. Продолжить изменение?"));
        EXPECT_EQ(question.caption, QStringLiteral("Подтверждение"));
        EXPECT_EQ(question.style & MessageStyle::kButtonMask, MessageStyle::kYesNo);
    }
    EXPECT_EQ(host.labelsChanged, 2);
    EXPECT_EQ(+in.scheme, 2);
    EXPECT_EQ(in.Kt3(), 3u);
    EXPECT_EQ(in.Frt(), 1u);
    EXPECT_EQ(view->Picture()->PictureCaption(), QStringLiteral("СИ 2, КТ3=3, ФРТ=1"));
    current = RowWith(view->CombinationList(), {0}, {QStringLiteral(">>>")});
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(4), QStringLiteral("Qг=M3(h3-hx)"));
    EXPECT_EQ(current->text(5), QStringLiteral("Qтв=Q12+Qг"));
    // t3 now takes the own spare channel: tx cannot be measured there.
    EXPECT_EQ(ComboTexts(Combo(page, "txUse")), QStringList({QStringLiteral("Не исп."), QStringLiteral("Договорная")}));

    // The same choice again: nothing to ask, nothing to change.
    host.messages.clear();
    ASSERT_TRUE(RunPicker(page, [&](CSchemePickerDialog& picker) {
        PressOk(picker);
        EXPECT_FALSE(picker.isVisible());
        EXPECT_FALSE(picker.Changed());
    }));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.labelsChanged, 2);

    // Written into the meter and found there.
    const InputSettings written = in;
    ASSERT_TRUE(host.WriteToMeter()) << host.rig.Messages().join('\n').toStdString();
    const InputSettings inMeter = host.rig.MeterConfiguration().tunes.db[0].inputs[0];
    EXPECT_EQ(+inMeter.scheme, 2);
    EXPECT_EQ(+inMeter.word, +written.word);
}

TEST(WiSchemePage, ModelOneOffersOnlyVolumeMeteringOnTheSecondInput)
{
    WiPageHost host(0);
    ASSERT_TRUE(host.Connect());
    ASSERT_EQ(host.Blocks().identity.modelIndex, 0);

    CDlgMainConfigWiScheme first(host, 0, 0);
    EXPECT_EQ(ColumnTexts(first.ChoiceView()->SchemeList(), 0),
              QStringList({"0", "1", "2", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));

    CDlgMainConfigWiScheme second(host, 0, 1);
    second.show();
    EXPECT_EQ(ColumnTexts(second.ChoiceView()->SchemeList(), 0), QStringList({"0", "12"}));
    EXPECT_EQ(ColumnTexts(second.ChoiceView()->SchemeList(), 1),
              QStringList({QStringLiteral("ТВ не исп."), QStringLiteral("Изм. V")}));
    ASSERT_TRUE(RunPicker(second, [&](CSchemePickerDialog& picker) {
        EXPECT_EQ(ColumnTexts(picker.View()->SchemeList(), 0), QStringList({"0", "12"}));
        PickScheme(picker, 12);
        EXPECT_EQ(ColumnTexts(picker.View()->CombinationList(), 1), QStringList({"0"})) << "only КТ3 0 for model 01";
        PickCombination(picker, 0, 11);
        PressOk(picker);
    }));
    const InputSettings& in = host.In(0, 1);
    EXPECT_EQ(+in.scheme, 12);
    EXPECT_EQ(in.Frt(), 11u);
    EXPECT_EQ(in.ColdWaterUse(), 0u) << "no heat, no tx";
    EXPECT_FALSE(Combo(second, "txUse")->isEnabled());
    EXPECT_EQ(Combo(second, "txUse")->count(), 0);
    EXPECT_FALSE(Combo(second, "heatControl")->isEnabled());
    EXPECT_EQ(Combo(second, "heatControl")->currentText(), QStringLiteral("Нет"));
    EXPECT_FALSE(Combo(second, "outdoorAir")->isEnabled()) << "model 01 has no spare channel";

    // A scheme the model does not allow there is removed when the page opens.
    SetScheme(host, 0, 1, 6, 0);
    const int relabelled = host.labelsChanged;
    second.OnPageShown();
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text,
              QStringLiteral("Схема измерения 6 недопустима для вычислителя модели 01. ТВ будет удален."));
    EXPECT_EQ(+in.scheme, 0);
    EXPECT_EQ(in.Kt3(), 4u);
    EXPECT_EQ(in.Frt(), 11u);
    EXPECT_EQ(host.labelsChanged, relabelled + 1);
    EXPECT_EQ(second.ChoiceView()->Picture()->PictureCaption(), QStringLiteral("ТВ НЕ ИСПОЛЬЗУЕТСЯ"));
}

TEST(WiSchemePage, PickerRefusesWhatTheRulesForbid)
{
    WiPageHost host;
    ASSERT_TRUE(host.Connect());
    SetScheme(host, 0, 0, 6, 1);
    SetScheme(host, 0, 1, 6, 1);
    host.In(0, 1).SetColdWaterUse(3);  // ТВ2 reads its tx on ТВ1's spare channel
    const InputSettings before = host.In(0, 0);

    CDlgMainConfigWiScheme page(host, 0, 0);
    page.show();
    ASSERT_TRUE(RunPicker(page, [&](CSchemePickerDialog& picker) {
        PickScheme(picker, 5);
        EXPECT_EQ(picker.View()->SelectedRow(), -1);
        EXPECT_EQ(picker.View()->Picture()->Scheme(), 5);
        PressOk(picker);
        EXPECT_TRUE(picker.isVisible());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages.back().text, QStringLiteral("Недопустимое сочетание параметров КТ3/ФРТ!"));
        // t3 would take the channel ТВ2 reads its tx on.
        PickCombination(picker, 3, 1);
        PressOk(picker);
        EXPECT_TRUE(picker.isVisible());
        ASSERT_EQ(host.messages.size(), 2u);
        EXPECT_EQ(host.messages.back().text, kTv2TxInUse);
        ClickStandardButton(picker, QDialogButtonBox::Cancel);
    }));
    EXPECT_EQ(+host.In(0, 0).scheme, +before.scheme);
    EXPECT_EQ(unsigned(+host.In(0, 0).word), unsigned(+before.word));
    EXPECT_EQ(host.labelsChanged, 0);

    // Another row of the same scheme: asked, then the input's settings start afresh.
    host.In(0, 0).SetDeltaTControl(2);
    host.messages.clear();
    host.answers = {MessageAnswer::kYes};
    ASSERT_TRUE(RunPicker(page, [&](CSchemePickerDialog& picker) {
        PickCombination(picker, 1, 3);
        PressOk(picker);
    }));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              QStringLiteral("Изменение КТ3 или ФРТ приведёт к установке других параметров в "
                             "значения по умолчанию. Продолжить изменение?"));
    EXPECT_EQ(host.In(0, 0).Kt3(), 1u);
    EXPECT_EQ(host.In(0, 0).Frt(), 3u);
    EXPECT_EQ(host.In(0, 0).DeltaTControl(), 0u);

    // Removing the input: asked, then gone, and the page has nothing left to edit.
    host.messages.clear();
    host.answers = {MessageAnswer::kYes};
    ASSERT_TRUE(RunPicker(page, [&](CSchemePickerDialog& picker) {
        PickScheme(picker, 0);
        EXPECT_EQ(picker.View()->CombinationList()->topLevelItemCount(), 0);
        EXPECT_EQ(picker.View()->Picture()->PictureCaption(), QStringLiteral("ТВ НЕ ИСПОЛЬЗУЕТСЯ"));
        PressOk(picker);
    }));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, QStringLiteral("Удалить тепловой ввод?"));
    EXPECT_EQ(+host.In(0, 0).scheme, 0);
    EXPECT_EQ(host.In(0, 0).Kt3(), 4u);
    EXPECT_EQ(host.In(0, 0).Frt(), 11u);
    EXPECT_EQ(host.labelsChanged, 2);
    EXPECT_FALSE(Combo(page, "temperatureControl")->isEnabled());
    EXPECT_FALSE(Combo(page, "heatControl")->isEnabled());
}

TEST(WiSchemePage, ControlsFollowTheSchemeAndTheSpareChannels)
{
    WiPageHost host;
    ASSERT_TRUE(host.Connect());
    CDlgMainConfigWiScheme page(host, 0, 0);
    QComboBox* tx = Combo(page, "txUse");
    QComboBox* outdoor = Combo(page, "outdoorAir");

    // ФРТ 0 without Qг: no tx, no dM control; dt and Q apply.
    SetScheme(host, 0, 0, 6, 0);
    page.OnPageShown();
    EXPECT_FALSE(tx->isEnabled());
    EXPECT_FALSE(Edit(page, "txTemperature")->isEnabled());
    EXPECT_FALSE(Edit(page, "txPressure")->isEnabled());
    EXPECT_FALSE(Combo(page, "imbalanceControl")->isEnabled());
    EXPECT_FALSE(Edit(page, "maxImbalance")->isEnabled());
    EXPECT_TRUE(Combo(page, "deltaTControl")->isEnabled());
    EXPECT_TRUE(Combo(page, "deltaTMin")->isEnabled());
    EXPECT_TRUE(Combo(page, "heatControl")->isEnabled());
    EXPECT_EQ(ComboTexts(Combo(page, "temperatureControl")),
              QStringList({QStringLiteral("С подстановками"), QStringLiteral("Счет отменен")}));
    EXPECT_EQ(ComboTexts(Combo(page, "deltaTControl")),
              QStringList({QStringLiteral("Без подстановок"), QStringLiteral("С подстановками"),
                           QStringLiteral("Счет отменён")}));
    EXPECT_EQ(ComboTexts(outdoor), QStringList({QStringLiteral("Не измеряется"), QStringLiteral("Измеряется")}));

    // Scheme 12: "Контроль Q" is 0 and cannot change.
    SetScheme(host, 0, 0, 12, 0);
    host.In(0, 0).SetHeatControl(2);
    page.OnPageShown();
    EXPECT_FALSE(Combo(page, "heatControl")->isEnabled());
    EXPECT_EQ(host.In(0, 0).HeatControl(), 0u);
    EXPECT_FALSE(Combo(page, "deltaTControl")->isEnabled());

    // t3 on the spare channel (КТ3 2): tнв cannot be measured and a stored one is cleared.
    SetScheme(host, 0, 0, 1, 2);
    host.In(0, 0).SetOutdoorAirMeasured(true);
    page.OnPageShown();
    EXPECT_FALSE(outdoor->isEnabled());
    EXPECT_FALSE(host.In(0, 0).OutdoorAirMeasured());
    EXPECT_EQ(ComboTexts(tx), QStringList({QStringLiteral("Не исп."), QStringLiteral("Договорная")}));

    // tнв and tx share the spare channel X3.
    SetScheme(host, 0, 0, 6, 1);
    page.OnPageShown();
    Choose(outdoor, QStringLiteral("Измеряется"));
    EXPECT_TRUE(host.In(0, 0).OutdoorAirMeasured());
    EXPECT_EQ(ComboTexts(tx), QStringList({QStringLiteral("Не исп."), QStringLiteral("Договорная")}));
    Choose(outdoor, QStringLiteral("Не измеряется"));
    EXPECT_FALSE(host.In(0, 0).OutdoorAirMeasured());
    Choose(tx, QStringLiteral("Измеряется на X3"));
    EXPECT_EQ(host.In(0, 0).ColdWaterUse(), 2u);
    EXPECT_FALSE(outdoor->isEnabled());
    EXPECT_EQ(outdoor->currentText(), QStringLiteral("Не измеряется"));

    // ТВ2 gets a scheme and reads its tx on X3: ТВ1 is offered X4 and cannot give X3 up.
    SetScheme(host, 0, 1, 6, 1);
    host.In(0, 1).SetColdWaterUse(3);
    page.OnPageShown();
    EXPECT_EQ(ComboTexts(tx),
              QStringList({QStringLiteral("Не исп."), QStringLiteral("Договорная"), QStringLiteral("Измеряется на X3"),
                           QStringLiteral("Измеряется на X4")}));
    Choose(tx, QStringLiteral("Договорная"));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, kTv2TxInUse);
    EXPECT_EQ(host.In(0, 0).ColdWaterUse(), 2u);
    EXPECT_EQ(tx->currentText(), QStringLiteral("Измеряется на X3"));

    // Stored choices go into the record at once.
    Choose(Combo(page, "imbalanceControl"), QStringLiteral("С подст.2"));
    Choose(Combo(page, "deltaTControl"), QStringLiteral("Счет отменён"));
    Choose(Combo(page, "deltaTMin"), QStringLiteral("3"));
    Choose(Combo(page, "heatControl"), QStringLiteral("Счет отмен."));
    Choose(Combo(page, "temperatureControl"), QStringLiteral("Счет отменен"));
    EXPECT_EQ(host.In(0, 0).ImbalanceControl(), 4u);
    EXPECT_EQ(host.In(0, 0).DeltaTControl(), 2u);
    EXPECT_EQ(host.In(0, 0).DeltaTMin(), 1u);
    EXPECT_EQ(host.In(0, 0).HeatControl(), 3u);
    EXPECT_EQ(host.In(0, 0).TemperatureControl(), 1u);

    // The page of БД2 while it is not in use.
    CDlgMainConfigWiScheme unused(host, 1, 0);
    EXPECT_FALSE(unused.isEnabled());
    EXPECT_FALSE(unused.IsPageEnabled());
    host.Blocks().tunes.SetDb2Used(true);
    unused.OnPageShown();
    EXPECT_TRUE(unused.isEnabled());
    EXPECT_TRUE(unused.IsPageEnabled());
}

TEST(WiSchemePage, ColdWaterFieldsInTheUnitSystemAndFilteredAsTyped)
{
    WiPageHost host;
    ASSERT_TRUE(host.Connect());
    ASSERT_EQ(host.Blocks().tunes.UnitSystem(), kUnitSystemMks);
    SetScheme(host, 0, 0, 6, 1);
    host.In(0, 0).contractColdPressure = 0.6f;
    CDlgMainConfigWiScheme page(host, 0, 0);
    page.show();
    QLineEdit* pressure = Edit(page, "txPressure");
    EXPECT_EQ(NamedChild<QLabel>(page, QStringLiteral("txPressureCaption"))->text(), QStringLiteral("Pxд (кгс/см2):"));
    EXPECT_EQ(pressure->text(), QStringLiteral("6.11832"));

    host.In(0, 0).contractColdPressure = 0.1f;
    pressure->clear();
    TypeText(pressure, QStringLiteral("6.11832"));
    EXPECT_NEAR(+host.In(0, 0).contractColdPressure, 0.6, 1e-6);
    pressure->clear();
    TypeText(pressure, QStringLiteral("-1.1234567"));
    EXPECT_EQ(pressure->text(), QStringLiteral("1.12345"));
    EXPECT_NEAR(+host.In(0, 0).contractColdPressure, 1.12345 / 10.1972, 1e-6);

    QLineEdit* temperature = Edit(page, "txTemperature");
    EXPECT_EQ(temperature->text(), QStringLiteral("4.000"));
    temperature->clear();
    TypeText(temperature, QStringLiteral("1a2.34.56"));
    EXPECT_EQ(temperature->text(), QStringLiteral("12.345"));
    EXPECT_FLOAT_EQ(+host.In(0, 0).contractColdTemperature, 12.345f);

    QLineEdit* imbalance = Edit(page, "maxImbalance");
    EXPECT_EQ(imbalance->text(), QStringLiteral("1.000"));
    imbalance->clear();
    TypeText(imbalance, QStringLiteral("25,5"));  // a comma is the decimal point
    EXPECT_EQ(imbalance->text(), QStringLiteral("25.5"));
    EXPECT_FLOAT_EQ(+host.In(0, 0).maxImbalance, 25.5f) << "the range is the checks' business, not the filter's";

    host.Blocks().tunes.SetUnitSystem(kUnitSystemSi);
    page.OnPageShown();
    EXPECT_EQ(NamedChild<QLabel>(page, QStringLiteral("txPressureCaption"))->text(), QStringLiteral("Pxд (МПа):"));
    EXPECT_EQ(pressure->text(), QString::asprintf("%.5f", double(+host.In(0, 0).contractColdPressure)));
    pressure->clear();
    TypeText(pressure, QStringLiteral("0.25"));
    EXPECT_EQ(float(+host.In(0, 0).contractColdPressure), 0.25f);
}

}  // namespace
