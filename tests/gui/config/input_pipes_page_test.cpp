// The pipes page over a driver's record: typed values land in the record and reach the simulated meter,
// pressures follow the unit system, and the channel states and enabling follow scheme and model.

#include "gui/config/input_pipes_page.h"

#include "config/scheme_table.h"
#include "config/tunes_defaults.h"
#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/pipes_pages_rig.h"
#include "support/known_configuration.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cstring>

namespace {

QString Text(const QWidget& page, const QString& name)
{
    if (auto* edit = page.findChild<QLineEdit*>(name))
        return edit->text();
    if (auto* list = page.findChild<QComboBox*>(name))
        return list->currentText();
    if (auto* label = page.findChild<QLabel*>(name))
        return label->text();
    ADD_FAILURE() << "no field " << name.toStdString();
    return {};
}

bool Enabled(const QWidget& page, const QString& name)
{
    auto* field = page.findChild<QWidget*>(name);
    EXPECT_NE(field, nullptr) << name.toStdString();
    return field != nullptr && field->isEnabled();
}

// Input `input` of set `set` with the scheme and the combination at `row`, whatever the model allows.
void SetScheme(ConfigurationBlocks& blocks, int set, int input, int scheme, int row)
{
    DbSettings& db = blocks.tunes.db[set];
    db.inputs[input].scheme = std::uint8_t(scheme);
    MakeDefaultInput(db, input, blocks.identity.modelIndex);
    db.inputs[input].SetKt3(CombinationAt(scheme, row)->Kt3());
    db.inputs[input].SetFrt(CombinationAt(scheme, row)->Frt());
}

// A default configuration of `model` whose ТВ1 of БД1 has the scheme and the combination at `row`.
void ModelWithScheme(ConfigurationBlocks& blocks, int model, int scheme, int row)
{
    MakeDefaultConfiguration(blocks);
    blocks.identity.modelIndex = std::uint8_t(model);
    blocks.identity.firmwareLevel = 600;
    SetScheme(blocks, 0, 0, scheme, row);
}

TEST(PipesPage, TypedValuesReachTheMeterAndComeBack)
{
    PipesPagesRig host;
    ConfigurationBlocks inMeter = KnownConfiguration();
    inMeter.identity.modelIndex = 3;
    host.rig.PutMeterConfiguration(inMeter);
    host.rig.SetMeterClock(QDateTime::currentDateTime());
    ASSERT_TRUE(host.rig.Start());
    ASSERT_TRUE(host.rig.Run(kCommandConnect));
    ASSERT_TRUE(host.rig.driver.IsDeviceConnected()) << host.rig.Messages().join(QLatin1Char('\n')).toStdString();

    CDlgMainConfigPipes page(host, 0, 0);
    page.OnPageShown();
    EXPECT_EQ(Text(page, QStringLiteral("pulseWeight1")), QStringLiteral("0.0100"));
    EXPECT_EQ(Text(page, QStringLiteral("volumeMax1")), QStringLiteral("250.50000"));
    EXPECT_EQ(Text(page, QStringLiteral("heightCorrection1")), QStringLiteral("-1.5"));

    Retype(NamedChild<QLineEdit>(page, QStringLiteral("pulseWeight2")), QStringLiteral("2.5x"));
    Retype(NamedChild<QLineEdit>(page, QStringLiteral("volumeMin3")), QStringLiteral("0.75"));
    Retype(NamedChild<QLineEdit>(page, QStringLiteral("contractTemperature1")), QStringLiteral("-101.23456"));
    Retype(NamedChild<QLineEdit>(page, QStringLiteral("heightCorrection2")), QStringLiteral("-2.7"));
    NamedChild<QComboBox>(page, QStringLiteral("volumeControl3"))->setCurrentIndex(3);
    NamedChild<QComboBox>(page, QStringLiteral("powerControl2"))->setCurrentIndex(2);
    NamedChild<QComboBox>(page, QStringLiteral("flowMeterType1"))->setCurrentIndex(0);

    // The filter took the letter and the minus; tдог keeps three decimals.
    EXPECT_EQ(Text(page, QStringLiteral("pulseWeight2")), QStringLiteral("2.5"));
    EXPECT_EQ(Text(page, QStringLiteral("contractTemperature1")), QStringLiteral("101.234"));
    const PipeSettings* pipes = host.Blocks().tunes.db[0].pipes[0];
    EXPECT_FLOAT_EQ(pipes[1].pulseWeight, 2.5f);
    EXPECT_FLOAT_EQ(pipes[2].hourlyVolumeMin, 0.75f);
    EXPECT_FLOAT_EQ(pipes[0].contractTemperature, 101.234f);
    EXPECT_FLOAT_EQ(pipes[1].heightCorrection, -2.7f);
    EXPECT_EQ(pipes[2].VolumeControl(), 3u);
    EXPECT_EQ(pipes[1].PowerControl(), 2u);
    EXPECT_EQ(pipes[0].FlowMeterType(), 0u);
    // Nothing else moved: the rest of the pipe flags are as they were.
    EXPECT_EQ(pipes[0].flags, 0x2Au);
    EXPECT_EQ(pipes[2].flags & ~0x7u, 0x10u);
    const ConfigurationBlocks edited = host.Blocks();

    ASSERT_TRUE(host.rig.Run(kCommandWriteConfiguration));
    EXPECT_TRUE(host.rig.host.Boxes().isEmpty()) << host.rig.BoxTexts().join(QLatin1Char('\n')).toStdString();
    const ConfigurationBlocks meter = host.rig.MeterConfiguration();
    EXPECT_EQ(std::memcmp(&meter.tunes, &edited.tunes, sizeof edited.tunes), 0);

    host.Blocks().tunes = TunesRecord{};
    ASSERT_TRUE(host.rig.Run(kCommandReadConfiguration, nullptr, kArrivesMs));
    page.OnConfigurationReplaced();
    EXPECT_EQ(Text(page, QStringLiteral("pulseWeight2")), QStringLiteral("2.5000"));
    EXPECT_EQ(Text(page, QStringLiteral("volumeMin3")), QStringLiteral("0.75000"));
    EXPECT_EQ(Text(page, QStringLiteral("contractTemperature1")), QStringLiteral("101.234"));
    EXPECT_EQ(Text(page, QStringLiteral("heightCorrection2")), QStringLiteral("-2.7"));
    EXPECT_EQ(Text(page, QStringLiteral("volumeControl3")), QStringLiteral("С подст.и кон.U"));
    EXPECT_EQ(Text(page, QStringLiteral("powerControl2")), QStringLiteral("Индивид.\"РС\""));
    EXPECT_EQ(Text(page, QStringLiteral("flowMeterType1")), QStringLiteral("Механич."));
}

TEST(PipesPage, PressuresInTheUnitSystemsUnit)
{
    PipesPagesRig host;
    ModelWithScheme(host.Blocks(), 3, 6, 0);
    host.Blocks().tunes.SetUnitSystem(kUnitSystemMks);
    CDlgMainConfigPipes page(host, 0, 0);
    page.OnPageShown();
    EXPECT_EQ(Text(page, QStringLiteral("contractPressureCaption")), QStringLiteral("P,догов.знач.(кгс/см2):"));
    EXPECT_EQ(Text(page, QStringLiteral("sensorLimitCaption")), QStringLiteral("Pв. (кгс/см2)"));
    EXPECT_EQ(Text(page, QStringLiteral("contractPressure1")), QStringLiteral("6.11832"));
    EXPECT_EQ(Text(page, QStringLiteral("sensorLimit1")), QStringLiteral("10.19720"));

    Retype(NamedChild<QLineEdit>(page, QStringLiteral("contractPressure2")), QStringLiteral("6.11832"));
    Retype(NamedChild<QLineEdit>(page, QStringLiteral("sensorLimit2")), QStringLiteral("20.3944999"));
    EXPECT_EQ(Text(page, QStringLiteral("sensorLimit2")), QStringLiteral("20.39449"));
    const PipeSettings& pipe = host.Blocks().tunes.db[0].pipes[0][1];
    EXPECT_NEAR(pipe.contractPressure, 0.6, 1e-6);
    EXPECT_NEAR(pipe.sensorUpperLimit, 20.39449 / 10.1972, 1e-6);

    // The same bytes shown in MPa once the unit system is "СИ".
    host.Blocks().tunes.SetUnitSystem(kUnitSystemSi);
    page.OnPageShown();
    EXPECT_EQ(Text(page, QStringLiteral("contractPressureCaption")), QStringLiteral("P,догов.знач.(МПа):"));
    EXPECT_EQ(Text(page, QStringLiteral("sensorLimitCaption")), QStringLiteral("Pв. (МПа)"));
    EXPECT_EQ(Text(page, QStringLiteral("contractPressure2")), QStringLiteral("0.60000"));
    EXPECT_EQ(Text(page, QStringLiteral("sensorLimit2")), QStringLiteral("2.00001"));  // 20.39449 / 10.1972
    Retype(NamedChild<QLineEdit>(page, QStringLiteral("contractPressure1")), QStringLiteral("1.2"));
    EXPECT_FLOAT_EQ(host.Blocks().tunes.db[0].pipes[0][0].contractPressure, 1.2f);
    // Pipe 3 is out of the scheme (КТ3 0): its field takes nothing.
    Retype(NamedChild<QLineEdit>(page, QStringLiteral("contractPressure3")), QStringLiteral("1.2"));
    EXPECT_FLOAT_EQ(host.Blocks().tunes.db[0].pipes[0][2].contractPressure, 0.6f);
}

TEST(PipesPage, StatesAndEnablingFollowSchemeAndModel)
{
    PipesPagesRig host;
    ModelWithScheme(host.Blocks(), 3, 5, 2);  // "04", scheme 5 with КТ3 3: every pipe in full
    host.Blocks().tunes.db[0].pipes[0][0].SetPressureSensor(true);
    CDlgMainConfigPipes page(host, 0, 0);
    page.OnPageShown();
    EXPECT_TRUE(page.IsEditable());
    EXPECT_EQ(Text(page, QStringLiteral("temperatureState1")), QStringLiteral("(t измеряется)"));
    EXPECT_EQ(Text(page, QStringLiteral("pressureState1")), QStringLiteral("(P измеряется)"));
    EXPECT_EQ(Text(page, QStringLiteral("pressureState2")), QStringLiteral("(P договорное)"));
    EXPECT_EQ(Text(page, QStringLiteral("volumeState3")), QStringLiteral("(V измеряется)"));
    EXPECT_TRUE(Enabled(page, QStringLiteral("pressureSensor1")));
    EXPECT_TRUE(Enabled(page, QStringLiteral("volumeContract3")));

    // Dropping the sensor makes the pressure a contract value at once.
    NamedChild<QComboBox>(page, QStringLiteral("pressureSensor1"))->setCurrentIndex(0);
    EXPECT_FALSE(host.Blocks().tunes.db[0].pipes[0][0].PressureSensor());
    EXPECT_EQ(Text(page, QStringLiteral("pressureState1")), QStringLiteral("(P договорное)"));

    // "01", scheme 2 with КТ3 0: no pressure channel, pipe 3 out of the scheme, t3 has no channel.
    ModelWithScheme(host.Blocks(), 0, 2, 0);
    for (PipeSettings& pipe : host.Blocks().tunes.db[0].pipes[0])
        pipe.SetPressureSensor(true);
    page.OnConfigurationReplaced();
    EXPECT_EQ(Text(page, QStringLiteral("pressureSensor1")), QStringLiteral("Есть"));  // not shown yet
    page.OnPageShown();
    for (const PipeSettings& pipe : host.Blocks().tunes.db[0].pipes[0])
        EXPECT_FALSE(pipe.PressureSensor());
    EXPECT_EQ(Text(page, QStringLiteral("pressureSensor1")), QStringLiteral("Нет"));
    EXPECT_FALSE(Enabled(page, QStringLiteral("pressureSensor1")));
    EXPECT_TRUE(Enabled(page, QStringLiteral("contractPressure1")));
    EXPECT_EQ(Text(page, QStringLiteral("pressureState1")), QStringLiteral("(P договорное)"));
    EXPECT_EQ(Text(page, QStringLiteral("temperatureState2")), QStringLiteral("(t измеряется)"));
    EXPECT_EQ(Text(page, QStringLiteral("temperatureState3")), QStringLiteral("(t не исп.)"));
    EXPECT_EQ(Text(page, QStringLiteral("pressureState3")), QStringLiteral("(P не исп.)"));
    EXPECT_EQ(Text(page, QStringLiteral("volumeState3")), QStringLiteral("(V не исп.)"));
    for (const char* field :
         {"flowMeterType3", "pulseWeight3", "powerControl3", "volumeControl3", "volumeMin3", "volumeMax3",
          "volumeContract3", "contractTemperature3", "contractPressure3", "sensorLimit3", "heightCorrection3"})
        EXPECT_FALSE(Enabled(page, QLatin1String(field))) << field;
    EXPECT_TRUE(Enabled(page, QStringLiteral("contractTemperature2")));

    // "02", scheme 9 (pipes 1 and 3) with КТ3 3: pipe 2 unused, t3 without a channel is a contract value.
    ModelWithScheme(host.Blocks(), 1, 9, 2);
    page.OnPageShown();
    EXPECT_EQ(Text(page, QStringLiteral("volumeState2")), QStringLiteral("(V не исп.)"));
    EXPECT_EQ(Text(page, QStringLiteral("temperatureState3")), QStringLiteral("(t договорное)"));
    EXPECT_EQ(Text(page, QStringLiteral("volumeState3")), QStringLiteral("(V измеряется)"));
    EXPECT_FALSE(Enabled(page, QStringLiteral("pulseWeight2")));
    EXPECT_TRUE(Enabled(page, QStringLiteral("contractTemperature3")));
}

TEST(PipesPage, WholePageDisabledWithoutSchemeOrSet)
{
    PipesPagesRig host;
    ModelWithScheme(host.Blocks(), 3, 6, 0);
    SetScheme(host.Blocks(), 1, 1, 6, 0);
    CDlgMainConfigPipes noScheme(host, 0, 1);
    CDlgMainConfigPipes secondSet(host, 1, 1);
    noScheme.OnPageShown();
    secondSet.OnPageShown();
    EXPECT_FALSE(noScheme.IsEditable());
    EXPECT_FALSE(Enabled(noScheme, QStringLiteral("pulseWeight1")));
    EXPECT_EQ(Text(noScheme, QStringLiteral("volumeState1")), QStringLiteral("(V не исп.)"));
    EXPECT_FALSE(Enabled(secondSet, QStringLiteral("pulseWeight1")));
    EXPECT_EQ(Text(secondSet, QStringLiteral("volumeState1")), QStringLiteral("(V измеряется)"));

    host.Blocks().tunes.SetDb2Used(true);
    secondSet.OnPageShown();
    EXPECT_TRUE(Enabled(secondSet, QStringLiteral("pulseWeight1")));
}

TEST(PipesPage, LoadingWritesNothing)
{
    PipesPagesRig host;
    ModelWithScheme(host.Blocks(), 3, 6, 0);
    PipeSettings& pipe = host.Blocks().tunes.db[0].pipes[0][0];
    pipe.SetVolumeControl(6);  // invalid values as a damaged meter might hold them
    pipe.SetPowerControl(3);
    pipe.flags |= 0xFF00;  // reserved bits
    pipe.pulseWeight = 1.23456789f;
    const TunesRecord before = host.Blocks().tunes;
    CDlgMainConfigPipes page(host, 0, 0);
    page.OnPageShown();
    page.OnConfigurationReplaced();
    EXPECT_EQ(std::memcmp(&before, &host.Blocks().tunes, sizeof before), 0);
    EXPECT_EQ(NamedChild<QComboBox>(page, QStringLiteral("volumeControl1"))->currentIndex(), -1);
    EXPECT_EQ(Text(page, QStringLiteral("pulseWeight1")), QStringLiteral("1.2346"));
    EXPECT_TRUE(host.messages.isEmpty());
}

}  // namespace
