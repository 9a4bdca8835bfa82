// The page "Ведомость" in the main window against the simulated meter: November's daily statement of
// ТВ1 read off the meter into the database, shown in the report window with its title and "Итого",
// saved as PDF and XLSX under the names offered in the reports folder; then, with no meter, the database
// alone with days taken out of it: the page names the rows without data.

#include "trends_page_rig.h"

#include "archives/database_schema.h"
#include "gui/archives/statement_page.h"
#include "gui/reports/report_window.h"
#include "statement/statement_source.h"
#include "support/file_bytes.h"
#include "ui_test_helpers.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

// What one "Сформировать" showed in the report window, saved from there once per name given.
struct ShownStatement {
    QString text;
    QStringList offered;
    bool closed = false;
};

// Sets the page to ТВ1's daily statement of November 2026.
void ChooseNovemberOfInput1(const StatementPageControls& c)
{
    c.input->setCurrentIndex(1);
    c.archive->setCurrentIndex(0);
    c.from->setDate(QDate(2026, 11, 1));
    c.to->setDate(QDate(2026, 11, 30));
}

// The report window, when it opens, is read, saved through its "Сохранить" once for each of `names`
// (a name without extension saved under the filter named beside it) and closed.
void WhenReportWindowOpens(ShownStatement* shown, const QList<QPair<QString, QString>>& saves)
{
    WhenModal<ReportWindow>([shown, saves](ReportWindow* window) {
        shown->text = window->Browser()->toPlainText();
        for (const auto& [name, filter] : saves) {
            WhenModal<QFileDialog>([shown, name, filter](QFileDialog* dialog) {
                shown->offered.append(dialog->selectedFiles().value(0));
                if (!filter.isEmpty())
                    dialog->selectNameFilter(filter);
                if (!name.isEmpty())
                    TypeFileName(dialog, name);
                static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides its accept()
            });
            window->Save();
        }
        window->close();
        shown->closed = true;
    });
}

bool MakeStatement(CDlgStatement* page, const ShownStatement& shown)
{
    const int before = page->MadeCount();
    QTest::mouseClick(page->Controls().make, Qt::LeftButton);
    return TrendsRig::WaitPromptly([&] { return page->MadeCount() > before && shown.closed; });
}

QByteArray FileStart(const QString& path, int size)
{
    return ReadAll(path).left(size);
}

}  // namespace

TEST(StatementPage, NovemberOfInput1IsReadShownSavedAndItsGapsNamedWithoutTheMeter)
{
    // The meter's archives reach from late October to 5 December 2026.
    ArchivePageRig rig(Chrono(5, 12, 2026, 12), 45);
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
    EXPECT_EQ(FileStart(pdf, 5), QByteArray("%PDF-"));
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
    offline.serial->clear();
    QTest::mouseClick(offline.make, Qt::LeftButton);
    ASSERT_EQ(rig.windowRig.presenter.messages.size(), 1);
    EXPECT_TRUE(rig.windowRig.presenter.messages[0].text.contains(QStringLiteral("заводской номер не указан")));
    EXPECT_EQ(page->MadeCount(), 0);

    TypeText(offline.serial, QString::number(serial));
    ShownStatement again;
    WhenReportWindowOpens(&again, {});
    ASSERT_TRUE(MakeStatement(page, again));
    EXPECT_EQ(offline.result->text(), QStringLiteral("Записей из базы данных: 27"));
    EXPECT_EQ(offline.missing->text(), QStringLiteral("Строк без данных: 3 - 05.11.2026, 06.11.2026, 20.11.2026"));
    EXPECT_TRUE(again.text.contains(QString::fromUtf8(kNoDataText)));
    EXPECT_TRUE(again.text.contains(QString::fromUtf8(kTotalRowText)));
    EXPECT_EQ(rig.windowRig.presenter.messages.size(), 1);
}
