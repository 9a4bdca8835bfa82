#pragma once
// The page "Ведомость" in the main window against the simulated meter (see ArchivePageRig): a meter
// holding November 2026, the page set to ТВ1's daily statement of it, "Сформировать" until the
// statement is made and its report window, driven by the test, closed again.

#include "gui_rigs/trends_page_rig.h"

#include "gui/archives/statement_page.h"
#include "gui/reports/report_window.h"
#include "gui_rigs/ui_test_helpers.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QList>
#include <QPair>
#include <QTextBrowser>

// A meter whose archives reach from late October to 5 December 2026.
inline ArchivePageRig NovemberMeter()
{
    return ArchivePageRig(Chrono(5, 12, 2026, 12), 45);
}

// What one "Сформировать" showed in the report window, saved from there once per name given.
struct ShownStatement {
    QString text;
    QStringList offered;
    bool closed = false;
};

// Sets the page to ТВ1's daily statement of November 2026.
inline void ChooseNovemberOfInput1(const StatementPageControls& c)
{
    c.input->setCurrentIndex(1);
    c.archive->setCurrentIndex(0);
    c.from->setDate(QDate(2026, 11, 1));
    c.to->setDate(QDate(2026, 11, 30));
}

// The report window, when it opens, is read, saved through its "Сохранить" once for each of `saves`
// (a name without extension saved under the filter named beside it) and closed.
inline void WhenReportWindowOpens(ShownStatement* shown, const QList<QPair<QString, QString>>& saves)
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

// "Сформировать", then waits until the statement is made and its report window has been and gone.
inline bool MakeStatement(CDlgStatement* page, const ShownStatement& shown)
{
    const int before = page->MadeCount();
    QTest::mouseClick(page->Controls().make, Qt::LeftButton);
    return TrendsRig::WaitPromptly([&] { return page->MadeCount() > before && shown.closed; });
}
