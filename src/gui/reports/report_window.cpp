#include "gui/reports/report_window.h"

#include "base/app_location.h"
#include "base/text_codec.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/save_file_dialog.h"
#include "gui/widgets/window_placement_keeper.h"
#include "reports/report_save.h"
#include "reports/report_writer.h"
#include "reports/spreadsheet_program.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

namespace {

// A little air in the cells; the report's own style sheet draws their borders.
QString ViewerStyleSheet()
{
    return QStringLiteral("table { border-collapse: collapse; } td, th { padding: 1px 3px; }");
}

// The reports name a Cyrillic Courier that few desktops here have. On screen a fixed-width font that
// is installed takes its place, so that the columns of the header lines still line up; the file and
// its saved copies keep the name.
QString WithInstalledFont(QString html)
{
    const QString named = QLatin1String(kReportFont);
    if (QFontDatabase::hasFamily(named))
        return html;
    const QString fixed = QFontDatabase::hasFamily(QStringLiteral("Courier New"))
        ? QStringLiteral("Courier New")
        : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return html.replace(u'\'' + named + u'\'', u'\'' + fixed + u'\'');
}

}  // namespace

ReportWindow::ReportWindow(SettingsStore& settings, QWidget* parent)
    : QDialog(parent),
      m_windowNumber(NewReportWindowNumber()),
      m_browser(new QTextBrowser(this)),
      m_placement(new WindowPlacementKeeper(this, settings, QStringLiteral("ReportWnd"),
                                            WindowPlacementKeeper::WhenMaximised::Skip))
{
    setWindowTitle(QStringLiteral("Отчет"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    m_browser->setOpenLinks(false);
    m_browser->document()->setDefaultStyleSheet(ViewerStyleSheet());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateMenuAndToolBar();
    layout->addWidget(m_browser);

    resize(800, 600);
    m_placement->Restore();
}

void ReportWindow::CreateMenuAndToolBar()
{
    auto* menuBar = new QMenuBar(this);
    QMenu* menu = menuBar->addMenu(QStringLiteral("Печать и сохранение"));
    menu->addAction(QStringLiteral("Печать отчета...."), this, &ReportWindow::Print);
    menu->addAction(QStringLiteral("Предварительный просмотр..."), this, &ReportWindow::PrintPreview);
    menu->addAction(QStringLiteral("Параметры страницы..."), this, &ReportWindow::PageSetup);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Сохранить..."), this, &ReportWindow::Save);
    m_openCopy = menu->addAction(QStringLiteral("Открыть в программе электронных таблиц"), this,
                                 &ReportWindow::OpenSavedCopy);
    m_openCopy->setEnabled(false);
    layout()->setMenuBar(menuBar);

    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(QStringLiteral(" Сохранить "), this, &ReportWindow::Save);
    tools->addAction(QStringLiteral(" Печать "), this, &ReportWindow::Print);
    layout()->addWidget(tools);
}

void ReportWindow::ShowReport(const QString& file, const QString& saveFolder)
{
    if (!Load(file))
        return;
    m_file = file;
    m_saveFolder = saveFolder;  // none given: the save dialog picks the last folder used or the documents
    exec();
}

void ReportWindow::ShowMessage(const UserMessage& message)
{
    ShowMessageBox(isVisible() ? this : parentWidget(), message);
}

bool ReportWindow::ShowBody(const QString& body, const QString& folder, QIODevice* log, const ReportOptions& options)
{
    return WriteReport(body, folder, m_windowNumber, log, *this, options);
}

bool ReportWindow::Load(const QString& file)
{
    QFile report(file);
    if (!report.open(QIODevice::ReadOnly)) {
        ShowMessage(UserMessage::Information(QStringLiteral("%1 (ReportWindow - %2)").arg(report.errorString(), file)));
        return false;
    }
    // Reports are windows-1251, as their head says.
    m_browser->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath() + u'/'));
    m_browser->setHtml(WithInstalledFont(DecodeWindows1251(report.readAll())));
    return true;
}

void ReportWindow::SaveInForms(const QStringList& filters, FormSaver save)
{
    m_formFilters = filters;
    m_formSaver = std::move(save);
}

void ReportWindow::Save()
{
    const QString start = m_saveAs.isEmpty() ? m_saveFolder : m_saveAs;
    if (m_formSaver) {
        QString filter;
        const QString chosen = ChooseSaveFile(this, QStringLiteral("Сохранить..."), start,
                                              m_formFilters.join(QStringLiteral(";;")), &filter);
        if (!chosen.isEmpty())
            m_formSaver(chosen, filter);
        return;
    }
    const QString chosen = ChooseSaveFile(this, QStringLiteral("Сохранить..."), start, ReportSaveFilter());
    if (!chosen.isEmpty())
        SaveTo(chosen);
}

bool ReportWindow::SaveTo(const QString& chosenPath)
{
    // A copy that could not be made is said so: the user would otherwise look for a file that is not there.
    const QString target = ReportSaveName(chosenPath);
    if (!SaveReportCopy(m_file, target, this))
        return false;
    m_savedCopy = target;
    m_openCopy->setEnabled(true);
    return true;
}

void ReportWindow::Print()
{
    QPrintDialog dialog(&m_printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(m_printer);
}

void ReportWindow::PrintPreview()
{
    QPrintPreviewDialog preview(&m_printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { PrintTo(*printer); });
    preview.exec();
}

void ReportWindow::PageSetup()
{
    QPageSetupDialog dialog(&m_printer, this);
    dialog.exec();
}

void ReportWindow::PrintTo(QPrinter& printer) const
{
    m_browser->document()->print(&printer);
}

void ReportWindow::OpenSavedCopy()
{
    if (m_savedCopy.isEmpty())
        return;
    if (!SpreadsheetProgramFor(m_savedCopy) || !QDesktopServices::openUrl(QUrl::fromLocalFile(m_savedCopy)))
        ShowMessage(UserMessage::Information(NoSpreadsheetProgramText(m_savedCopy)));
}
