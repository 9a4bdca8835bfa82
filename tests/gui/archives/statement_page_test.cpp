// The page "Ведомость" in the main window against the simulated meter: November's daily statement of
// ТВ1 read off the meter into the database, shown in the report window with its title and "Итого",
// saved as PDF and XLSX under the names offered in the reports folder; then, with no meter, the database
// alone with days taken out of it: the page names the rows without data.

#include "gui_rigs/statement_page_rig.h"

#include "archives/database_schema.h"
#include "gui/widgets/page_tree.h"
#include "support/file_bytes.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

TEST(StatementPage, NovemberOfInput1IsReadShownSavedAndItsGapsNamedWithoutTheMeter)
{
    ArchivePageRig rig = NovemberMeter();
    // "Ведомость" stands under "Архивы" in the page tree.
    const PageEntry* entry = rig.window->Pages()->Find(CDlgStatement::kPageId);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->caption, QStringLiteral("Ведомость"));
    EXPECT_EQ(rig.window->Pages()->Entries().at(entry->parentIndex).id, CDlgReadData::kPageId);
    rig.window->SelectPage(CDlgStatement::kPageId);
    CDlgStatement* page = rig.window->StatementPage();
    const StatementPageControls& c = page->Controls();
    // The defaults: every input, daily, the whole previous month; nothing made yet to show or save.
    EXPECT_EQ(c.input->currentText(), QStringLiteral("Все вводы"));
    EXPECT_EQ(c.archive->currentText(), QStringLiteral("суточная"));
    const QDate month = QDate::currentDate().addMonths(-1);
    EXPECT_EQ(c.from->date(), QDate(month.year(), month.month(), 1));
    EXPECT_EQ(c.to->date(), QDate(month.year(), month.month(), month.daysInMonth()));
    EXPECT_FALSE(c.save->isEnabled());

    ASSERT_TRUE(rig.Connect());
    rig.window->SelectPage(CDlgStatement::kPageId);
    const std::uint32_t serial = rig.meter.Options().identity.serialNumber;
    EXPECT_EQ(c.serial->text(), QString::number(serial));
    ChooseNovemberOfInput1(c);

    const QString reports = rig.windowRig.environment->ReportsFolderPath();
    const QString name = QStringLiteral("Ведомость ТВ1, зав.N %1, ноябрь 2026").arg(serial);
    ShownStatement shown;
    // PDF under the name offered; the workbook by its filter, the extension left to the page.
    WhenReportWindowOpens(
        &shown, {{QString(), QString()}, {QDir(reports).filePath(name), QStringLiteral("Книга XLSX (*.xlsx)")}});
    ASSERT_TRUE(MakeStatement(page, shown));
    ASSERT_TRUE(rig.WaitUntilIdle());

    EXPECT_TRUE(shown.text.contains(QString::fromUtf8(kStatementTitle))) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(QStringLiteral("суточная, за период с 01.11.2026 по 30.11.2026")));
    EXPECT_TRUE(shown.text.contains(QString::fromUtf8(kTotalRowText)));
    EXPECT_TRUE(shown.text.contains(QStringLiteral("30.11.2026")));
    ASSERT_EQ(page->Made().sections.size(), 1u);
    EXPECT_EQ(page->Made().sections[0].name, QStringLiteral("ТВ1"));
    EXPECT_EQ(page->Made().sections[0].rows.size(), 30u);
    EXPECT_TRUE(page->Made().MissingDates().isEmpty());
    EXPECT_EQ(c.result->text(), QStringLiteral("Записей: 30 (из базы: 0, с прибора: 30)"));
    EXPECT_EQ(c.missing->text(), QStringLiteral("Все строки ведомости заполнены."));

    const QString pdf = QDir(reports).filePath(name + QStringLiteral(".pdf"));
    const QString xlsx = QDir(reports).filePath(name + QStringLiteral(".xlsx"));
    ASSERT_EQ(shown.offered.size(), 2);
    EXPECT_EQ(shown.offered[0], pdf);
    EXPECT_EQ(ReadAll(pdf).left(5), QByteArray("%PDF-"));
    const QByteArray workbook = ReadAll(xlsx);
    EXPECT_TRUE(workbook.startsWith("PK\x03\x04")) << "an XLSX is a zip";
    EXPECT_TRUE(workbook.contains("xl/workbook.xml"));
    EXPECT_EQ(QDir(reports).entryList(QDir::Files),
              (QStringList{name + QStringLiteral(".pdf"), name + QStringLiteral(".xlsx")}));
    EXPECT_TRUE(rig.windowRig.presenter.messages.isEmpty());

    // No meter now, and three days of November gone from the database.
    rig.window.reset();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("statementPageTest"));
        db.setDatabaseName(QDir(rig.windowRig.Folder()).filePath(QStringLiteral("db/Data.sqlite")));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(QStringLiteral("DELETE FROM \"%1\" WHERE \"Date\" LIKE '2026-11-05%' OR \"Date\" LIKE "
                                              "'2026-11-06%' OR \"Date\" LIKE '2026-11-20%'")
                                   .arg(ArchiveTableName(kArchiveDaily))));
        EXPECT_EQ(query.numRowsAffected(), 3);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("statementPageTest"));
    rig.window = rig.windowRig.OpenWindow();
    rig.window->AddReadDataPage();
    rig.window->SelectPage(CDlgStatement::kPageId);
    page = rig.window->StatementPage();
    const StatementPageControls& offline = page->Controls();
    ChooseNovemberOfInput1(offline);

    // Without a serial number there is nothing to look for: said so, nothing made.
    EXPECT_EQ(offline.serial->text(), QString());
    QTest::mouseClick(offline.make, Qt::LeftButton);
    ASSERT_EQ(rig.windowRig.presenter.messages.size(), 1);
    EXPECT_TRUE(rig.windowRig.presenter.messages[0].text.contains(QStringLiteral("заводской номер не указан")));
    EXPECT_EQ(page->MadeCount(), 0);

    // The node chosen (not connected) gives the number the database is asked for.
    {
        ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
        ASSERT_TRUE(rig.window->SelectNode());
    }
    ASSERT_FALSE(rig.Driver().IsDeviceConnected());
    ShownStatement again;
    WhenReportWindowOpens(&again, {});
    ASSERT_TRUE(MakeStatement(page, again));
    EXPECT_EQ(offline.serial->text(), QString::number(serial));
    EXPECT_EQ(offline.result->text(), QStringLiteral("Записей из базы данных: 27"));
    EXPECT_EQ(offline.missing->text(), QStringLiteral("Строк без данных: 3 - 05.11.2026, 06.11.2026, 20.11.2026"));
    EXPECT_TRUE(again.text.contains(QString::fromUtf8(kNoDataText)));
    EXPECT_TRUE(again.text.contains(QString::fromUtf8(kTotalRowText)));
    EXPECT_EQ(rig.windowRig.presenter.messages.size(), 1);

    // A file that cannot be written is said so, and the one already there keeps its bytes.
    const QByteArray before = ReadAll(pdf);
    QFile blocker(QDir(reports).filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(page->SaveTo(blocker.fileName() + QStringLiteral("/") + name + QStringLiteral(".pdf")));
    EXPECT_FALSE(page->SaveTo(QDir(reports).filePath(name + QStringLiteral(".txt"))));
    ASSERT_EQ(rig.windowRig.presenter.messages.size(), 3);
    EXPECT_TRUE(rig.windowRig.presenter.messages[1].text.startsWith(QStringLiteral("Не удалось сохранить ведомость")));
    EXPECT_TRUE(rig.windowRig.presenter.messages[2].text.endsWith(QStringLiteral("PDF, XLSX, CSV или HTML")));
    EXPECT_EQ(ReadAll(pdf), before);
    EXPECT_FALSE(QFile::exists(QDir(reports).filePath(name + QStringLiteral(".txt"))));
}
