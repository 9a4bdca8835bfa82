// The configuration frame and the configuration part of the page tree in the main window: the tree and
// its labels, the numbered list, the checks in front of writing and reporting, a configuration changed
// on screen written to the simulated meter and read back, and the buttons while a command runs.

#include "gui_rigs/config_window_helpers.h"

#include "config/tunes_file.h"
#include "gui/config/sub_page_list.h"
#include "gui/reports/report_window.h"
#include "gui_rigs/ui_test_helpers.h"
#include "sim/configuration_area.h"
#include "sim/meter_areas.h"
#include "support/known_configuration.h"
#include "support/recording_message_host.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTreeWidget>

#include <cstring>

namespace {

const QString kS5 = QStringLiteral("В БД1 тепловые вводы не задействованы!");

QPushButton* FrameButton(const MainDialog& window, const char* name)
{
    return NamedChild<QPushButton>(*window.MainConfig(), QString::fromLatin1(name));
}

QStringList SubPageTexts(const SubPageList& list)
{
    QStringList texts;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        texts << list.topLevelItem(row)->text(0) + QLatin1Char(' ') + list.topLevelItem(row)->text(1);
    return texts;
}

// The captions of the tree's items below `item`, depth first, indented by level.
void CollectTree(const QTreeWidgetItem* item, int level, QStringList& out)
{
    out << QString(level * 2, QLatin1Char(' ')) + item->text(0);
    for (int i = 0; i < item->childCount(); ++i)
        CollectTree(item->child(i), level + 1, out);
}

QStringList TreeOutline(const MainDialog& window)
{
    QStringList out;
    const QTreeWidget* tree = window.Pages()->Tree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        CollectTree(tree->topLevelItem(i), 0, out);
    return out;
}

// Opens `blocks` as a settings file, the way "Открыть настройки из файла" ends.
bool OpenBlocks(MainWindowRig& rig, MainDialog& window, const ConfigurationBlocks& blocks)
{
    const QString file = QDir(rig.Folder()).filePath(QStringLiteral("known.zt5"));
    RecordingMessageHost quiet;  // answers OK to everything
    return SaveTunesFile(file, blocks, quiet) && window.OpenSettingsFileNamed(file);
}

}  // namespace

TEST(ConfigRoot, TreeOfConfigurationPagesWithItsNumberedList)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    // A configuration nobody has read yet: no schemes, the second set out of use.
    QStringList empty{QStringLiteral("Конфигурирование"), QStringLiteral("  Система")};
    for (const QString& set : {QStringLiteral("БД1"), QStringLiteral("БД2 (не исп.)")}) {
        empty << QStringLiteral("  ") + set << QStringLiteral("    Тепловые вводы");
        for (const QString& input : {QStringLiteral("ТВ1"), QStringLiteral("ТВ2")})
            empty << QStringLiteral("    %1 (не исп.)").arg(input) << QStringLiteral("      Общие")
                  << QStringLiteral("      Трубы 1...3");
    }
    empty << QStringLiteral("  Контроли и алармы") << QStringLiteral("  Сервис производителя");
    EXPECT_EQ(TreeOutline(*window), empty);

    SubPageList* list = window->MainConfig()->SubPages();
    const QStringList rows{QStringLiteral("1 Система"), QStringLiteral("2 БД1"), QStringLiteral("3 БД2 (не исп.)"),
                           QStringLiteral("4 Контроли и алармы"), QStringLiteral("5 Сервис производителя")};
    EXPECT_EQ(SubPageTexts(*list), rows);

    // Opening a file relabels the tree and the list; DB2 of the known configuration is in use.
    ASSERT_TRUE(OpenBlocks(rig, *window, KnownConfiguration()));
    const TunesRecord& known = KnownConfiguration().tunes;
    for (int set = 0; set < 2; ++set) {
        EXPECT_EQ(TreeLabel(*window, ConfigPageIds::SetNode(set)), QStringLiteral("БД%1").arg(set + 1));
        for (int input = 0; input < 2; ++input)
            EXPECT_EQ(TreeLabel(*window, ConfigPageIds::InputNode(set, input)), InputNodeLabel(known, set, input));
    }
    EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("БД2"));

    // A row of the list selects its node; the set's page lists what is below it in the same way.
    const QRect row = list->visualItemRect(list->topLevelItem(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(window->Pages()->CurrentPageId(), ConfigPageIds::SetNode(1));
    EXPECT_EQ(window->Pages()->Tree()->currentItem()->text(0), QStringLiteral("БД2"));
    auto* setList = window->Pages()->Find(ConfigPageIds::SetNode(1))->page->findChild<SubPageList*>();
    ASSERT_NE(setList, nullptr);
    ASSERT_EQ(setList->topLevelItemCount(), 3);
    EXPECT_EQ(setList->topLevelItem(1)->text(1), InputNodeLabel(known, 1, 0));
    EXPECT_EQ(setList->PageIdAt(2), ConfigPageIds::InputNode(1, 1));
    QTest::mouseClick(setList->viewport(), Qt::LeftButton, Qt::NoModifier,
                      setList->visualItemRect(setList->topLevelItem(0)).center());
    EXPECT_EQ(window->Pages()->CurrentPageId(), ConfigPageIds::ThermalInputs(1));
    EXPECT_TRUE(rig.presenter.messages.isEmpty());
}

TEST(ConfigRoot, CheckWriteAndReportRunTheChecksFirst)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    // No input of the first set has a scheme.
    ConfigurationBlocks unused = KnownConfiguration();
    unused.tunes.SetDb2Used(false);
    for (InputSettings& input : unused.tunes.db[0].inputs)
        input.scheme = 0;
    window->Driver().Configuration() = unused;
    QTest::mouseClick(FrameButton(*window, "checkButton"), Qt::LeftButton);
    ASSERT_EQ(rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.presenter.messages[0].text, kS5);
    EXPECT_EQ(rig.presenter.messages[0].caption, QStringLiteral("Информация"));

    EXPECT_EQ(window->MainConfig()->OperationText(), QStringLiteral("Проверка настроек: найдены ошибки!"));

    // Writing (not offered without a connection) stops at the same message: nothing is queued.
    EXPECT_FALSE(FrameButton(*window, "writeButton")->isEnabled());
    window->MainConfig()->SetOperationText(QString());
    window->MainConfig()->WriteToMeter();
    ASSERT_EQ(rig.presenter.messages.size(), 2);
    EXPECT_EQ(rig.presenter.messages[1].text, kS5);
    EXPECT_EQ(window->MainConfig()->OperationText(), QStringLiteral("Проверка настроек: найдены ошибки!"));
    EXPECT_FALSE(window->Driver().IsBusy());

    // So does the report: no report window comes up.
    bool reportShown = false;
    WhenModal<ReportWindow>(
        [&](ReportWindow* report) {
            reportShown = true;
            report->close();
        },
        nullptr, 300);
    QTest::mouseClick(FrameButton(*window, "reportButton"), Qt::LeftButton);
    ASSERT_EQ(rig.presenter.messages.size(), 3);
    EXPECT_EQ(rig.presenter.messages[2].text, kS5);
    QTest::qWait(400);
    EXPECT_FALSE(reportShown);

    // A configuration that passes: the check says nothing and the report is shown.
    ASSERT_TRUE(OpenBlocks(rig, *window, KnownConfiguration()));
    QTest::mouseClick(FrameButton(*window, "checkButton"), Qt::LeftButton);
    EXPECT_EQ(rig.presenter.messages.size(), 3);
    QString shownReport;
    QString offered;
    WhenModal<ReportWindow>([&](ReportWindow* report) {
        shownReport = report->ShownFile();
        offered = report->OfferedSaveAs();
        report->close();
    });
    QTest::mouseClick(FrameButton(*window, "reportButton"), Qt::LeftButton);
    EXPECT_FALSE(shownReport.isEmpty());
    // "Сохранить" offers the work folder's reports folder and a name with the serial and the date.
    EXPECT_EQ(offered,
              QDir(rig.Folder())
                  .filePath(QStringLiteral("reports/Настройки, зав.N %1, %2.xls")
                                .arg(KnownConfiguration().identity.serialNumber)
                                .arg(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")))));
    EXPECT_TRUE(QFileInfo(QFileInfo(offered).absolutePath()).isDir());
    EXPECT_EQ(rig.presenter.messages.size(), 3);
}

TEST(ConfigRoot, ValuesChangedOnTheCommonPageAreWrittenToTheMeterAndReadBack)
{
    DemoMeter demo;
    QString error;
    ASSERT_TRUE(demo.Start(&error)) << error.toStdString();
    PutKnownTunes(demo);  // a meter with something worth writing
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    ASSERT_TRUE(ConnectToDemo(*window, demo));
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::InputNode(0, 0)), InputNodeLabel(KnownConfiguration().tunes, 0, 0));

    window->SelectPage(ConfigPageIds::kSystem);
    CDlgMainConfigCommon* common = CommonPage(*window);
    auto* address = NamedChild<QLineEdit>(*common, QStringLiteral("networkAddressEdit"));
    auto* hour = NamedChild<QComboBox>(*common, QStringLiteral("reportHourCombo"));
    auto* contract = NamedChild<QLineEdit>(*common, QStringLiteral("contractEdit"));
    EXPECT_EQ(address->text().toInt(), window->Driver().Configuration().open.networkAddress);
    EXPECT_EQ(hour->currentText().toUInt(), KnownConfiguration().tunes.reportHour);

    address->selectAll();
    QTest::keyClicks(address, QStringLiteral("17"));
    EXPECT_EQ(window->Driver().Configuration().open.networkAddress, 17);
    ASSERT_TRUE(PickComboText(hour, QStringLiteral("5")));
    EXPECT_EQ(window->Driver().Configuration().tunes.reportHour, 5);
    contract->clear();
    TypeText(contract, QStringLiteral("Дог-123456789"));  // cut to nine characters
    EXPECT_EQ(contract->text(), QStringLiteral("Дог-12345"));
    EXPECT_EQ(ClickForCommand(*window, FrameButton(*window, "writeButton")), kSucceeded);
    // As written: the checks in front of the write may have repaired a field or two.
    const ConfigurationBlocks written = window->Driver().Configuration();
    EXPECT_EQ(written.tunes.reportHour, 5);
    {
        std::lock_guard<std::mutex> lock(demo.Meter().Lock());
        const TunesRecord inMeter = demo.Meter().Configuration().Tunes(demo.Meter().Image());
        EXPECT_EQ(std::memcmp(&inMeter, &written.tunes, sizeof inMeter), 0);
        OpenSettings open{};
        std::memcpy(&open, AreaIn(demo.Meter().Image(), MeterArea::kOpenSettings), sizeof open);
        EXPECT_EQ(open.networkAddress, 17);
        EXPECT_EQ(QByteArray(open.contract, 9), QByteArray("\xC4\xEE\xE3-12345"));
        EXPECT_EQ(open.contract[9], 0);
    }

    // Spoil the copy on screen, then read the meter again: the written values come back to the page.
    window->Driver().Configuration().tunes.reportHour = 9;
    window->Driver().Configuration().open.networkAddress = 99;
    EXPECT_EQ(ClickForCommand(*window, FrameButton(*window, "readButton")), kSucceeded);
    EXPECT_EQ(std::memcmp(&window->Driver().Configuration().tunes, &written.tunes, sizeof written.tunes), 0);
    EXPECT_EQ(address->text().toInt(), 17);
    EXPECT_EQ(hour->currentText(), QStringLiteral("5"));
    EXPECT_EQ(contract->text(), QStringLiteral("Дог-12345"));
    EXPECT_TRUE(rig.presenter.messages.isEmpty()) << rig.presenter.messages.value(0).text.toStdString();

    SaveScreenshot(*window, CDlgMainConfig::kPageId, "config-root.png");
}

TEST(ConfigRoot, ShortSettingsFileIsWrittenOnlyOnceTheUserAgrees)
{
    DemoMeter demo;
    QString error;
    ASSERT_TRUE(demo.Start(&error)) << error.toStdString();
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    ASSERT_TRUE(ConnectToDemo(*window, demo));
    const TunesRecord before = window->Driver().Configuration().tunes;

    // The known settings with the meter's identity, cut inside the controls block.
    ConfigurationBlocks known = KnownConfiguration();
    known.identity = window->Driver().Configuration().identity;
    const QString file = QDir(rig.Folder()).filePath(QStringLiteral("cut.zt5"));
    RecordingMessageHost quiet;  // answers OK to everything
    ASSERT_TRUE(SaveTunesFile(file, known, quiet));
    ASSERT_TRUE(QFile(file).resize(1750));
    ASSERT_TRUE(window->OpenSettingsFileNamed(file));
    ASSERT_EQ(rig.presenter.messages.size(), 1);  // the notice that it is short
    EXPECT_TRUE(rig.presenter.messages[0].text.contains(QStringLiteral("короче ожидаемого")));

    // "Нет": nothing is queued, the meter keeps its settings.
    rig.presenter.answer = MessageAnswer::kNo;
    window->MainConfig()->SetOperationText(QString());
    QTest::mouseClick(FrameButton(*window, "writeButton"), Qt::LeftButton);
    ASSERT_EQ(rig.presenter.messages.size(), 2);
    EXPECT_TRUE(rig.presenter.messages[1].text.contains(QStringLiteral("блок управления (52 байта из 64)")))
        << rig.presenter.messages[1].text.toStdString();
    EXPECT_EQ(rig.presenter.messages[1].style & MessageStyle::kButtonMask, MessageStyle::kYesNo);
    EXPECT_FALSE(window->Driver().IsBusy());
    // The checks before writing ran and said so; nothing was written.
    EXPECT_EQ(window->MainConfig()->OperationText(), QStringLiteral("Проверка настроек: ошибок не найдено."));
    {
        std::lock_guard<std::mutex> lock(demo.Meter().Lock());
        const TunesRecord inMeter = demo.Meter().Configuration().Tunes(demo.Meter().Image());
        EXPECT_EQ(std::memcmp(&inMeter, &before, sizeof inMeter), 0);
    }

    // "Да": written.
    rig.presenter.answer = MessageAnswer::kYes;
    EXPECT_EQ(ClickForCommand(*window, FrameButton(*window, "writeButton")), kSucceeded);
    ASSERT_EQ(rig.presenter.messages.size(), 3);
    {
        std::lock_guard<std::mutex> lock(demo.Meter().Lock());
        const TunesRecord inMeter = demo.Meter().Configuration().Tunes(demo.Meter().Image());
        EXPECT_EQ(inMeter.reportHour, known.tunes.reportHour);
    }

    // Read back from the meter, the settings are whole again: no more question.
    EXPECT_EQ(ClickForCommand(*window, FrameButton(*window, "readButton")), kSucceeded);
    EXPECT_EQ(ClickForCommand(*window, FrameButton(*window, "writeButton")), kSucceeded);
    EXPECT_EQ(rig.presenter.messages.size(), 3);
}

TEST(ConfigRoot, ButtonsAreDisabledWhileACommandRuns)
{
    // A meter that never answers: connecting takes attempts x time-out unless stopped.
    SilentMeter server;
    QString error;
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();
    MainWindowRig rig;
    ASSERT_TRUE(server.WriteNodeBase(rig));
    auto window = rig.OpenWindow();

    const char* buttons[] = {"openFileButton", "saveFileButton", "reportButton",
                             "readButton",     "writeButton",    "checkButton"};
    // Reading and writing need the connection: not offered before it stands.
    const auto needsConnection = [](const char* name) {
        return std::strcmp(name, "readButton") == 0 || std::strcmp(name, "writeButton") == 0;
    };
    for (const char* name : buttons)
        EXPECT_EQ(FrameButton(*window, name)->isEnabled(), !needsConnection(name)) << name;
    ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
    QTest::mouseClick(window->MainConfig()->ConnectButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window->MainConfig()->ConnectButton()->isEnabled(), kCommandArrivesMs);
    for (const char* name : buttons)
        EXPECT_FALSE(FrameButton(*window, name)->isEnabled()) << name;
    EXPECT_TRUE(window->MainConfig()->StopButton()->isEnabled());
    // A click that gets through all the same does nothing while the configuration is the worker's.
    window->MainConfig()->CheckConfiguration();
    EXPECT_TRUE(rig.presenter.messages.isEmpty());

    QTest::mouseClick(window->MainConfig()->StopButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(window->MainConfig()->ConnectButton()->isEnabled(), kCommandArrivesMs);
    for (const char* name : buttons)
        EXPECT_EQ(FrameButton(*window, name)->isEnabled(), !needsConnection(name)) << name;
    window.reset();
    server.Stop();
}
