// "Система" and "Сервис": the common page's load rules and field enabling, the second set switched on
// and off with the tree following, the user's service commands as they reach the simulated meter, and
// the tab control they sit in.

#include "gui_rigs/config_window_helpers.h"

#include "config/tunes_file.h"
#include "gui/config/tab_ctrl_with_disable.h"
#include "gui_rigs/dialog_driving.h"
#include "sim/configuration_area.h"
#include "sim/meter_areas.h"
#include "support/known_configuration.h"
#include "support/recording_message_host.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>

#include <cstring>

namespace {

template <typename T>
T* Field(const QWidget& page, const char* name)
{
    return NamedChild<T>(page, QString::fromLatin1(name));
}

QByteArray PasswordBlockInMeter(DemoMeter& demo)
{
    std::lock_guard<std::mutex> lock(demo.Meter().Lock());
    return QByteArray(reinterpret_cast<const char*>(AreaIn(demo.Meter().Image(), MeterArea::kArchiveRequest)), 6);
}

int ActiveSetInMeter(DemoMeter& demo)
{
    std::lock_guard<std::mutex> lock(demo.Meter().Lock());
    return demo.Meter().State().activeSet;
}

}  // namespace

TEST(ConfigSystemPages, SwitchingTheSecondSetRelabelsTheTreeAndKeepsItsValues)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    const QString file = QDir(rig.Folder()).filePath(QStringLiteral("known.zt5"));
    RecordingMessageHost quiet;  // answers OK to everything
    ASSERT_TRUE(SaveTunesFile(file, KnownConfiguration(), quiet));
    ASSERT_TRUE(window->OpenSettingsFileNamed(file));
    const DbSettings db2 = KnownConfiguration().tunes.db[1];
    ASSERT_NE(db2.inputs[0].scheme, 0);

    window->SelectPage(ConfigPageIds::kSystem);
    auto* use = Field<QComboBox>(*CommonPage(*window), "db2UseCombo");
    EXPECT_EQ(use->currentText(), QStringLiteral("Да"));
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::SetNode(1)), QStringLiteral("БД2"));

    ASSERT_TRUE(PickComboText(use, QStringLiteral("Нет")));
    EXPECT_FALSE(window->Driver().Configuration().tunes.Db2Used());
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::SetNode(1)), QStringLiteral("БД2 (не исп.)"));
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::InputNode(1, 0)), QStringLiteral("ТВ1 (не исп.)"));
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::InputNode(1, 1)), QStringLiteral("ТВ2 (не исп.)"));
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::InputNode(0, 0)), InputNodeLabel(KnownConfiguration().tunes, 0, 0));
    EXPECT_EQ(window->MainConfig()->SubPages()->topLevelItem(2)->text(1), QStringLiteral("БД2 (не исп.)"));
    EXPECT_EQ(std::memcmp(&window->Driver().Configuration().tunes.db[1], &db2, sizeof db2), 0);
    EXPECT_FALSE(Field<QComboBox>(*CommonPage(*window), "dbChangeMethodCombo")->isEnabled());

    ASSERT_TRUE(PickComboText(use, QStringLiteral("Да")));
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::SetNode(1)), QStringLiteral("БД2"));
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::InputNode(1, 0)), InputNodeLabel(KnownConfiguration().tunes, 1, 0));
    EXPECT_TRUE(Field<QComboBox>(*CommonPage(*window), "dbChangeMethodCombo")->isEnabled());
}

TEST(ConfigSystemPages, CommonPageLoadRulesAndExtraInputFields)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    ConfigurationBlocks& blocks = window->Driver().Configuration();
    blocks = KnownConfiguration();
    blocks.identity.modelIndex = 7;
    blocks.tunes.reportHour = 30;
    blocks.tunes.reportDay = 40;
    blocks.tunes.SetSensorType(6);
    blocks.tunes.extra.SetUse(0);
    window->SelectPage(ConfigPageIds::kSystem);
    const CDlgMainConfigCommon& page = *CommonPage(*window);

    // A model the family lacks is shown as the first and left for the checks to name.
    EXPECT_EQ(Field<QComboBox>(page, "modelCombo")->currentText(), QStringLiteral("01"));
    EXPECT_EQ(blocks.identity.modelIndex, 7);
    EXPECT_EQ(Field<QComboBox>(page, "reportHourCombo")->currentText(), QStringLiteral("23"));
    EXPECT_EQ(blocks.tunes.reportHour, 23);
    EXPECT_EQ(Field<QComboBox>(page, "reportDayCombo")->currentText(), QStringLiteral("25"));
    EXPECT_EQ(blocks.tunes.reportDay, 25);
    EXPECT_EQ(Field<QComboBox>(page, "sensorTypeCombo")->currentText(), QStringLiteral("100П a=0.00391 (W=1.391)"));
    EXPECT_EQ(blocks.tunes.SensorType(), 0u);
    const std::uint32_t otherSystemBits = KnownConfiguration().tunes.systemWord & ~0x1Eu;
    EXPECT_EQ(blocks.tunes.systemWord & ~0x1Eu, otherSystemBits);

    // The extra input's fields follow its use; the shared float shows in the format of the use.
    auto* extraUse = Field<QComboBox>(page, "extraUseCombo");
    const char* pulseFields[] = {"extraWeightEdit", "extraMinEdit", "extraMaxEdit", "extraUnitsCombo"};
    const char* alarmFields[] = {"alarmLevelCombo", "confirmTimeEdit"};
    const auto expectEnabled = [&](bool pulses, bool alarm) {
        for (const char* name : pulseFields)
            EXPECT_EQ(Field<QWidget>(page, name)->isEnabled(), pulses) << name;
        for (const char* name : alarmFields)
            EXPECT_EQ(Field<QWidget>(page, name)->isEnabled(), alarm) << name;
    };
    expectEnabled(false, false);
    ASSERT_TRUE(PickComboText(extraUse, QStringLiteral("Контр. сети")));
    expectEnabled(false, false);
    ASSERT_TRUE(PickComboText(extraUse, QStringLiteral("Счет импульсов")));
    expectEnabled(true, false);
    EXPECT_EQ(blocks.tunes.extra.Use(), 2u);
    auto* weight = Field<QLineEdit>(page, "extraWeightEdit");
    weight->clear();
    TypeText(weight, QStringLiteral("2.5x0001"));  // the letter goes, the fifth decimal too
    EXPECT_EQ(weight->text(), QStringLiteral("2.5000"));
    EXPECT_FLOAT_EQ(blocks.tunes.extra.weightOrConfirmation, 2.5f);
    ASSERT_TRUE(PickComboText(extraUse, QStringLiteral("Сигнализация")));
    expectEnabled(false, true);
    EXPECT_EQ(Field<QLineEdit>(page, "confirmTimeEdit")->text(), QStringLiteral("2.5"));
    ASSERT_TRUE(PickComboText(Field<QComboBox>(page, "alarmLevelCombo"), QStringLiteral("Норм.замкн.")));
    EXPECT_EQ(blocks.tunes.extra.AlarmLevel(), 1u);

    // Check boxes and lists write their bits and nothing else.
    const std::uint32_t before = blocks.tunes.systemWord;
    QTest::keyClick(Field<QCheckBox>(page, "inversionCheck"), Qt::Key_Space);
    EXPECT_EQ(blocks.tunes.systemWord ^ before, 0x80u);
    ASSERT_TRUE(PickComboText(Field<QComboBox>(page, "db2StartMonth"), QStringLiteral("май")));
    EXPECT_EQ(blocks.tunes.dbStart[1].month, 5);
    EXPECT_TRUE(rig.presenter.messages.isEmpty());
}

TEST(ConfigSystemPages, ServiceTabSendsItsCommandsWithThePaddedPassword)
{
    DemoMeter demo;
    QString error;
    ASSERT_TRUE(demo.Start(&error)) << error.toStdString();
    // The second set in use and reachable from the PC with the password; the clock 90 s behind.
    PutKnownTunes(demo, [](TunesRecord& tunes) {
        tunes.SetDb2Used(true);
        tunes.SetPcAccess(1);
    });
    {
        std::lock_guard<std::mutex> lock(demo.Meter().Lock());
        demo.Meter().Clock().Shift(-90);
    }
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    ASSERT_TRUE(ConnectToDemo(*window, demo));
    window->SelectPage(ConfigPageIds::kSystem);
    window->ConfigPages()->System()->Tabs()->setCurrentIndex(1);
    CDlgMainConfigServiceUser* page = ServiceUserPage(*window);

    // A wrong password: the block reaches the meter padded with blanks, the meter refuses the change.
    ASSERT_TRUE(PickComboText(Field<QComboBox>(*page, "parameterCombo"), QStringLiteral("tхд ТВ1")));
    TypeText(Field<QLineEdit>(*page, "parameterPasswordEdit"), QStringLiteral("99"));
    TypeText(Field<QLineEdit>(*page, "parameterValueEdit"), QStringLiteral("7.5"));
    EXPECT_EQ(ClickForCommand(*window, Field<QPushButton>(*page, "writeParameterButton")), kFailed);
    EXPECT_EQ(PasswordBlockInMeter(demo), QByteArray("99   \0", 6));
    EXPECT_FALSE(rig.presenter.messages.isEmpty());

    // The right one: the meter takes the value into its active set.
    auto* password = Field<QLineEdit>(*page, "parameterPasswordEdit");
    password->clear();
    TypeText(password, QStringLiteral("12345"));
    EXPECT_EQ(ClickForCommand(*window, Field<QPushButton>(*page, "writeParameterButton")), kSucceeded);
    EXPECT_EQ(PasswordBlockInMeter(demo), QByteArray("12345\0", 6));
    {
        std::lock_guard<std::mutex> lock(demo.Meter().Lock());
        const TunesRecord inMeter = demo.Meter().Configuration().Tunes(demo.Meter().Image());
        EXPECT_FLOAT_EQ(inMeter.db[0].inputs[0].contractColdTemperature, 7.5f);
    }

    // The active set: command 8 with the password, "12" padded to five.
    TypeText(Field<QLineEdit>(*page, "setPasswordEdit"), QStringLiteral("12"));
    EXPECT_EQ(ClickForCommand(*window, Field<QPushButton>(*page, "activeSet2Button")), kFailed);
    EXPECT_EQ(PasswordBlockInMeter(demo), QByteArray("12   \0", 6));
    auto* setPassword = Field<QLineEdit>(*page, "setPasswordEdit");
    setPassword->clear();
    TypeText(setPassword, QStringLiteral("12345"));
    EXPECT_EQ(ClickForCommand(*window, Field<QPushButton>(*page, "activeSet2Button")), kSucceeded);
    EXPECT_EQ(ActiveSetInMeter(demo), 1);
    EXPECT_EQ(ClickForCommand(*window, Field<QPushButton>(*page, "activeSet1Button")), kSucceeded);
    EXPECT_EQ(ActiveSetInMeter(demo), 0);

    // The clock: the meter's time and how far it is behind the computer's.
    EXPECT_EQ(ClickForCommand(*window, Field<QPushButton>(*page, "readClockButton")), kSucceeded);
    const QString clock = Field<QLabel>(*page, "meterClockText")->text();
    const QRegularExpression clockForm(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    EXPECT_TRUE(clockForm.match(clock).hasMatch()) << clock.toStdString();
    const QRegularExpression correctionForm(QStringLiteral("^Требуется коррекция (-?\\d+) сек\\.$"));
    const QRegularExpressionMatch correction = correctionForm.match(
        Field<QLabel>(*page, "clockCorrectionText")->text());
    ASSERT_TRUE(correction.hasMatch()) << Field<QLabel>(*page, "clockCorrectionText")->text().toStdString();
    EXPECT_GE(correction.captured(1).toInt(), 89);
    EXPECT_LE(correction.captured(1).toInt(), 92);

    SaveScreenshot(*window, ConfigPageIds::kSystem, "config-service-user.png");
    window->ConfigPages()->System()->Tabs()->setCurrentIndex(0);
    SaveScreenshot(*window, ConfigPageIds::kSystem, "config-common.png");
}

TEST(ConfigSystemPages, ServiceTabRefusesAValueThatIsNotANumber)
{
    DemoMeter demo;
    QString error;
    ASSERT_TRUE(demo.Start(&error)) << error.toStdString();
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    ASSERT_TRUE(ConnectToDemo(*window, demo));
    rig.presenter.messages.clear();
    CDlgMainConfigServiceUser* page = ServiceUserPage(*window);
    TypeText(Field<QLineEdit>(*page, "parameterValueEdit"), QStringLiteral("-"));
    QTest::mouseClick(Field<QPushButton>(*page, "writeParameterButton"), Qt::LeftButton);
    ASSERT_EQ(rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.presenter.messages[0].text, QStringLiteral("Не задано значение параметра!"));
    EXPECT_FALSE(window->Driver().IsBusy());
}

TEST(TabCtrlWithDisable, ADisabledTabCannotBeSelectedAndTheSelectionMovesOff)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    window->SelectPage(ConfigPageIds::kSystem);
    CTabCtrlWithDisable* tabs = window->ConfigPages()->System()->Tabs();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Система"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Сервис"));

    tabs->EnableTab(1, false);
    EXPECT_FALSE(tabs->IsTabEnabled(1));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier, tabs->tabBar()->tabRect(1).center());
    EXPECT_EQ(tabs->currentIndex(), 0);
    tabs->EnableTab(1, true);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier, tabs->tabBar()->tabRect(1).center());
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(tabs->CurrentPage(), ServiceUserPage(*window));
    // The tab in view is disabled: the selection goes to the one that is left.
    tabs->EnableTab(1, false);
    EXPECT_EQ(tabs->currentIndex(), 0);

    // A page in a tab refreshes when it comes into view: a record changed meanwhile is shown.
    tabs->EnableTab(1, true);
    tabs->setCurrentIndex(1);
    window->Driver().Configuration().tunes.reportHour = 4;
    tabs->setCurrentIndex(0);
    EXPECT_EQ(NamedChild<QComboBox>(*CommonPage(*window), QStringLiteral("reportHourCombo"))->currentText(),
              QStringLiteral("4"));
}
