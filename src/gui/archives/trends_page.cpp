#include "gui/archives/trends_page.h"

#include "app/app_environment.h"
#include "base/file_name_rules.h"
#include "base/message_style.h"
#include "gui/archives/archive_range_runner.h"
#include "gui/archives/bar_value.h"
#include "gui/archives/database_password_prompt.h"
#include "gui/archives/trend_chart_view.h"
#include "gui/archives/trend_files.h"
#include "gui/archives/trend_quantity_list.h"
#include "gui/widgets/save_file_dialog.h"
#include "protocol/driver_access.h"
#include "reports/report_save.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace {

constexpr int kDefaultDays = 7;

}  // namespace

CDlgTrends::CDlgTrends(PageHost& host, ArchiveRangeRunner& runner, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_runner(runner),
      m_settings(host.Environment().Settings()),
      m_controls(BuildTrendPageControls(this))
{
    const TrendPageControls& c = m_controls;
    connect(c.plot, &QPushButton::clicked, this, &CDlgTrends::Plot);
    connect(c.stop, &QPushButton::clicked, this, [this] { Host().Driver().QueueServiceRequest(kServiceStop); });
    connect(c.resetZoom, &QPushButton::clicked, c.chart, &TrendChartView::ResetZoom);
    connect(c.savePng, &QPushButton::clicked, this, [this] {
        SaveAs(QStringLiteral("Сохранить PNG..."), QStringLiteral("Рисунки PNG (*.png)"), {QStringLiteral("png")},
               &CDlgTrends::SavePngTo);
    });
    connect(c.exportCsv, &QPushButton::clicked, this, [this] {
        SaveAs(QStringLiteral("Экспорт CSV..."), QStringLiteral("Таблицы CSV (*.csv)"), {QStringLiteral("csv")},
               &CDlgTrends::ExportCsvTo);
    });
    connect(c.exportHtml, &QPushButton::clicked, this, [this] {
        // The report is HTML inside: a name typed with ".html" or ".htm" keeps it.
        SaveAs(QStringLiteral("Экспорт HTML..."), QStringLiteral("Отчеты (*.xls *.html *.htm)"),
               {QString::fromLatin1(kReportExtension), QStringLiteral("html"), QStringLiteral("htm")},
               &CDlgTrends::ExportHtmlTo);
    });

    // The runner talks from the driver's command thread: these arrive queued.
    connect(&m_runner, &ArchiveRangeRunner::rangeStarted, this, [this] { ShowProgress(0, 0); });
    connect(&m_runner, &ArchiveRangeRunner::recordsDone, this, &CDlgTrends::ShowProgress);
    connect(&m_runner, &ArchiveRangeRunner::rangeFinished, this, &CDlgTrends::ShowFound);
    Restore();
    UpdateStates();
}

CDlgTrends::~CDlgTrends()
{
    Host().Driver().ForgetRequester(this);
}

void CDlgTrends::Restore()
{
    const TrendPageControls& c = m_controls;
    c.archive->setCurrentIndex(std::clamp(m_settings.archive.Get(), 0, c.archive->count() - 1));
    c.quantities->SetChecked(m_settings.quantities.Get().split(u',', Qt::SkipEmptyParts));
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime hour(now.date(), QTime(now.time().hour(), 0));
    c.to->setDateTime(hour);
    c.from->setDateTime(hour.addDays(-kDefaultDays));
}

void CDlgTrends::UpdateStates()
{
    const TrendPageControls& c = m_controls;
    const DriverAccess& driver = Host().Driver();
    c.plot->setEnabled(driver.IsDeviceConnected() && !driver.IsBusy() && !m_reading);
    c.stop->setEnabled(driver.IsBusy());
    const bool plotted = !PlottedRecords().empty();
    c.savePng->setEnabled(plotted);
    c.exportCsv->setEnabled(plotted);
    c.exportHtml->setEnabled(plotted);
    c.resetZoom->setEnabled(plotted);
}

const std::vector<RangeRecord>& CDlgTrends::PlottedRecords() const
{
    return m_controls.chart->Records();
}

ArchiveRange CDlgTrends::ChosenRange() const
{
    ArchiveRange range;
    range.kind = ArchiveKind(m_controls.archive->currentIndex());
    range.from = ChronoOf(StampOf(m_controls.from->dateTime()));
    range.to = ChronoOf(StampOf(m_controls.to->dateTime()));
    return range;
}

void CDlgTrends::Plot()
{
    const ArchiveRange range = ChosenRange();
    const TrendSelection quantities = m_controls.quantities->Checked();
    if (quantities.empty()) {
        Host().ShowMessage(QStringLiteral("Не выбрано ни одной величины."), QString::fromUtf8(kCaptionInformation),
                           MessageStyle::kIconInformation);
        return;
    }
    if (!IsUsableRange(range)) {
        Host().ShowMessage(QString::fromUtf8(kBackwardRangeText), QString::fromUtf8(kCaptionInformation),
                           MessageStyle::kIconInformation);
        return;
    }
    {
        SettingsStore::Batch batch(Host().Environment().Settings());
        m_settings.archive.Set(int(range.kind));
        m_settings.quantities.Set(m_controls.quantities->CheckedKeys());
    }
    if (!AskDatabasePasswordIfMissing(this, Host().Environment()))
        return;
    m_asked = range;
    m_askedQuantities = quantities;
    m_runner.SetRange(range);
    if (Host().Driver().QueueCommand(kCommandReadArchiveRange, this)) {
        m_reading = true;
        UpdateStates();
    }
}

void CDlgTrends::ShowProgress(qint64 done, qint64 total)
{
    // The runner serves the statement page too: only this page's read is shown here.
    if (!m_reading)
        return;
    QProgressBar* bar = m_controls.progress;
    // Busy until the meter's share is known.
    bar->setRange(0, BarValue(total));
    bar->setValue(BarValue(done));
    bar->show();
}

void CDlgTrends::ShowFound(bool succeeded)
{
    if (!m_reading)
        return;
    m_reading = false;
    m_controls.progress->hide();
    ArchiveRangeResult result = m_runner.LastResult();
    m_controls.result->setText((succeeded ? QString() : QStringLiteral("Чтение не завершено. "))
                               + RangeResultText(result));
    std::vector<RangeRecord> records = std::move(result.records);
    m_plotted = std::move(result);
    m_plottedRange = m_asked;
    m_plottedQuantities = m_askedQuantities;
    TrendChart chart = BuildTrendChart(records, m_plottedQuantities, RangeTableTitle(m_plottedRange, m_plotted.serial));
    m_controls.chart->ShowChart(std::move(chart), std::move(records));
    ++m_plotCount;
    UpdateStates();
}

QString CDlgTrends::ChooseFile(const QString& title, const QString& filter, const QStringList& extensions)
{
    // A bare name: the dialog starts where the user last saved, else in the documents folder.
    const QString start = RangeTableTitle(m_plottedRange, m_plotted.serial) + u'.' + extensions.constFirst();
    const QString chosen = ChooseSaveFile(this, title, start, filter);
    return chosen.isEmpty() ? chosen : WithKnownExtension(chosen, extensions);
}

void CDlgTrends::SaveAs(const QString& title, const QString& filter, const QStringList& extensions,
                        bool (CDlgTrends::*save)(const QString&))
{
    const QString path = ChooseFile(title, filter, extensions);
    if (!path.isEmpty())
        (this->*save)(path);
}

bool CDlgTrends::SavePngTo(const QString& path)
{
    return WriteTrendFile(Host(), path, WidgetPng(m_controls.chart), "сохранить рисунок графика");
}

bool CDlgTrends::ExportCsvTo(const QString& path)
{
    return WriteTrendFile(Host(), path, RangeCsv(PlottedRecords(), m_plottedQuantities, LocaleDecimalSeparator()),
                          "сохранить таблицу графика в CSV");
}

bool CDlgTrends::ExportHtmlTo(const QString& path)
{
    const QByteArray html = RangeHtml(PlottedRecords(), m_plottedQuantities,
                                      RangeTableTitle(m_plottedRange, m_plotted.serial));
    return WriteTrendFile(Host(), path, html, "сохранить таблицу графика");
}
