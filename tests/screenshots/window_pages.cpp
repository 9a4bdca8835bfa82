// Pictures of whole windows for docs/screenshots, at the size a first window opens at: the main window,
// the archives page with an hourly record, the trends page with a week of hourly data and the statement
// page with November's statement made, each against the simulated meter.

#include "screenshots/screenshot_folder.h"

#include "gui_rigs/archive_page_rig.h"
#include "gui_rigs/statement_page_rig.h"
#include "gui_rigs/trends_page_rig.h"

#include "gui/archives/trend_quantity_list.h"
#include "gui/config/configuration_frame_page.h"

#include <QChart>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(Screenshots, MainWindowAtItsFirstSize)
{
    const QString folder = ScreenshotFolder();
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    window->resize(MainDialog::kFirstWindowSize);
    window->SelectPage(CDlgMainConfig::kPageId);
    QTest::qWait(20);
    EXPECT_TRUE(window->grab().save(QDir(folder).filePath(QStringLiteral("main-window.png"))));
}

TEST(Screenshots, ArchivePageWithAnHourlyRecord)
{
    const QString folder = ScreenshotFolder();
    ArchivePageRig rig = WinterMeter();
    rig.window->resize(MainDialog::kFirstWindowSize);
    ASSERT_TRUE(rig.Connect());
    const ArchivePageControls& c = rig.Page()->Controls();
    ASSERT_TRUE(rig.ClickAndWait(c.readInfo));
    c.date->setDate(QDate(2024, 2, 14));
    c.hour->setCurrentIndex(9);
    ASSERT_TRUE(rig.ClickAndWait(c.read));
    ASSERT_TRUE(rig.ReportText().startsWith(QStringLiteral("АРХИВ 14.02.2024 09")));
    EXPECT_TRUE(rig.window->grab().save(QDir(folder).filePath(QStringLiteral("archive-page.png"))));
}

TEST(Screenshots, TrendsPageWithAWeekOfHourlyData)
{
    const QString folder = ScreenshotFolder();
    TrendsRig trends;
    trends.rig.window->resize(MainDialog::kFirstWindowSize);
    ASSERT_TRUE(trends.Connect());
    ChooseLastWeek(trends);
    trends.Controls().quantities->SetChecked(
        {QStringLiteral("t1_1"), QStringLiteral("t1_2"), QStringLiteral("V1_3"), QStringLiteral("dT_1")});
    ASSERT_TRUE(trends.Plot());
    ASSERT_TRUE(QTest::qWaitFor([&] { return trends.View()->chart()->plotArea().width() > 100; }, 5000));
    EXPECT_TRUE(trends.rig.window->grab().save(QDir(folder).filePath(QStringLiteral("trends-page.png"))));
}

TEST(Screenshots, StatementPageWithNovembersStatementMade)
{
    const QString folder = ScreenshotFolder();
    ArchivePageRig rig = NovemberMeter();
    rig.window->resize(MainDialog::kFirstWindowSize);
    ASSERT_TRUE(rig.Connect());
    rig.window->SelectPage(CDlgStatement::kPageId);
    CDlgStatement* page = rig.window->StatementPage();
    ChooseNovemberOfInput1(page->Controls());
    ShownStatement shown;
    WhenReportWindowOpens(&shown, {});
    ASSERT_TRUE(MakeStatement(page, shown));
    ASSERT_TRUE(rig.WaitUntilIdle());
    EXPECT_TRUE(rig.window->grab().save(QDir(folder).filePath(QStringLiteral("statement-desktop.png"))));
}

}  // namespace
