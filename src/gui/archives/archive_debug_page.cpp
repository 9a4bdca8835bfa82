#include "gui/archives/archive_debug_page.h"

#include "app/app_environment.h"
#include "archives/archive_area_text.h"
#include "archives/archive_read_plan.h"
#include "archives/descriptor_rows.h"
#include "base/message_style.h"
#include "base/numeric_field_rule.h"
#include "gui/archives/archive_export_runner.h"
#include "gui/archives/database_password_prompt.h"
#include "gui/archives/export_progress_view.h"
#include "protocol/driver_access.h"
#include "protocol/image_report_time.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>

namespace {

// A stored field from an older version may hold letters: only its digits are shown.
QString DigitsOf(const QString& stored)
{
    QString digits;
    for (const QChar ch : stored) {
        if (ch >= u'0' && ch <= u'9' && digits.size() < kPageFieldDigits)
            digits.append(ch);
    }
    return digits;
}

}  // namespace

CDlgMainConfigArchive::CDlgMainConfigArchive(PageHost& host, ArchiveExportRunner* exportRunner, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_settings(host.Environment().Settings()),
      m_controls(BuildArchivePageControls(this))
{
    const ArchivePageControls& c = m_controls;
    connect(c.readInfo, &QPushButton::clicked, this, &CDlgMainConfigArchive::ReadArchiveInfo);
    connect(c.readFlash, &QPushButton::clicked, this, &CDlgMainConfigArchive::ReadFlash);
    connect(c.exportAll, &QPushButton::clicked, this, [this] {
        if (!AskDatabasePasswordIfMissing(this, Host().Environment()))
            return;
        // Off until the driver is idle again: a second press would queue a second export.
        m_controls.exportAll->setEnabled(false);
        Host().Driver().QueueCommand(kCommandExportArchive, this);
    });
    connect(c.read, &QPushButton::clicked, this, [this] { Read(0); });
    connect(c.previous, &QPushButton::clicked, this, [this] { Read(-1); });
    connect(c.next, &QPushButton::clicked, this, [this] { Read(+1); });
    connect(c.dataType, &QComboBox::currentIndexChanged, this, &CDlgMainConfigArchive::UpdateStates);
    connect(c.stop, &QPushButton::clicked, this, &CDlgMainConfigArchive::StopReading);
    connect(c.periodic, &QCheckBox::toggled, this, [this](bool periodic) {
        if (!periodic && m_periodicQueued)
            StopReading();
    });
    WireExport(exportRunner);
    Restore();
    UpdateStates();
}

CDlgMainConfigArchive::~CDlgMainConfigArchive()
{
    Host().Driver().ForgetRequester(this);
}

void CDlgMainConfigArchive::WireExport(ArchiveExportRunner* runner)
{
    if (!runner)
        return;
    ExportProgressView* view = m_controls.exportProgress;
    connect(runner, &ArchiveExportRunner::exportStarted, view, &ExportProgressView::Start);
    connect(runner, &ArchiveExportRunner::recordsDone, view, &ExportProgressView::ShowProgress);
    connect(runner, &ArchiveExportRunner::exportFinished, view, &ExportProgressView::Finish);
}

void CDlgMainConfigArchive::Restore()
{
    const ArchivePageControls& c = m_controls;
    c.dataType->setCurrentIndex(kDataHourly);
    ShowDate(m_settings.ArchiveDate());
    c.periodic->setChecked(m_settings.checkReadPeriod.Get() != 0);
    c.period->setText(DigitsOf(m_settings.readPeriod.Get()));
    c.record->setText(m_settings.record.Get());
    c.count->setText(m_settings.recordCount.Get());
    c.flashPage->setText(DigitsOf(m_settings.flashPage.Get()));
}

void CDlgMainConfigArchive::UpdateStates()
{
    const ArchivePageControls& c = m_controls;
    const DriverAccess& driver = Host().Driver();
    const bool ready = driver.IsDeviceConnected() && !driver.IsBusy();
    if (!driver.IsBusy())
        m_periodicQueued = false;
    c.stop->setEnabled(driver.IsBusy());
    c.exportAll->setEnabled(!driver.IsBusy());
    const int type = c.dataType->currentIndex();
    c.readInfo->setEnabled(ready);
    c.read->setEnabled(ready);
    c.readFlash->setEnabled(ready);
    const bool canStep = ready && DataTypeUsesDate(type) && m_readCount > 0;
    c.previous->setEnabled(canStep);
    c.next->setEnabled(canStep);
    c.date->setEnabled(DataTypeUsesDate(type));
    c.hour->setEnabled(DataTypeUsesDate(type));
    c.periodic->setEnabled(DataTypeUsesPeriod(type));
    c.period->setEnabled(DataTypeUsesPeriod(type));
    c.record->setEnabled(DataTypeUsesRecords(type));
    c.count->setEnabled(DataTypeUsesRecords(type));
}

TChronoArch CDlgMainConfigArchive::ShownDate() const
{
    const QDate date = m_controls.date->date();
    return TChronoArch{static_cast<std::uint8_t>(date.day()), static_cast<std::uint8_t>(date.month()),
                       static_cast<std::uint8_t>(date.year() - kBaseYear),
                       static_cast<std::uint8_t>(m_controls.hour->currentIndex())};
}

void CDlgMainConfigArchive::ShowDate(const TChronoArch& date)
{
    m_controls.date->setDate(QDate(date.year + kBaseYear, date.month, date.day));
    m_controls.hour->setCurrentIndex(date.hour);
}

void CDlgMainConfigArchive::ReadArchiveInfo()
{
    Host().Driver().QueueCommand(kCommandReadArchiveInfo, this);
}

void CDlgMainConfigArchive::ReadFlash()
{
    const QString page = WholePart(m_controls.flashPage->text());
    bool isNumber = false;
    const uint number = page.toUInt(&isNumber);
    if (!isNumber || number > uint(kMaxFlashPage)) {
        Host().ShowMessage(
            QStringLiteral("Номер страницы flash-памяти должен быть целым числом от 0 до %1!").arg(kMaxFlashPage),
            QString::fromUtf8(kCaptionInformation), MessageStyle::kIconWarning);
        return;
    }
    m_settings.flashPage.Set(page);
    Host().Driver().Data().request = FlashPageRequest(static_cast<std::uint16_t>(number));
    Host().Driver().QueueCommand(kCommandReadFlashPage, this);
}

void CDlgMainConfigArchive::StopReading()
{
    if (Host().Driver().IsBusy())
        Host().Driver().QueueServiceRequest(kServiceStop);
}

void CDlgMainConfigArchive::Read(int step)
{
    const ArchivePageControls& c = m_controls;
    ArchiveReadForm form;
    form.dataType = c.dataType->currentIndex();
    form.date = ShownDate();
    form.cyclic = c.periodic->isChecked();
    form.periodText = c.period->text();
    form.recordText = c.record->text();
    form.countText = c.count->text();

    DriverData& data = Host().Driver().Data();
    const ArchiveReadPlan plan = PlanArchiveRead(form, step, ImageReportTime(data));
    {
        SettingsStore::Batch batch(Host().Environment().Settings());
        m_settings.record.Set(form.recordText);
        c.count->setText(plan.countText);
        m_settings.recordCount.Set(plan.countText);
        m_settings.checkReadPeriod.Set(form.cyclic ? 1 : 0);
        m_settings.readPeriod.Set(form.periodText);
        if (DataTypeUsesDate(form.dataType)) {
            ShowDate(plan.date);
            m_settings.StoreArchiveDate(plan.date);
        }
    }
    data.cyclicRead = plan.cyclic;
    data.cyclicPeriodMs = plan.periodMs;
    data.request = plan.request;
    if (Host().Driver().QueueCommand(plan.command, this) && plan.command == kCommandReadCurrentValues && plan.cyclic)
        m_periodicQueued = true;
    if (DataTypeUsesDate(form.dataType)) {
        ++m_readCount;
        UpdateStates();
    }
}

void CDlgMainConfigArchive::CommandFinished(int code)
{
    if (code == kCommandReadArchiveInfo) {
        ShowDescriptors();
        return;
    }
    if (const std::optional<QString> text = ArchiveCommandText(code, Host().Driver())) {
        // The reports end their lines in CR LF, the way they are written to files.
        QString shown = *text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_controls.report->setPlainText(shown);
    }
}

void CDlgMainConfigArchive::ShowDescriptors()
{
    QTableWidget* list = m_controls.descriptors;
    list->clearContents();
    const QList<QStringList> rows = DescriptorRows(Host().Driver().Data().descriptors);
    list->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        for (int column = 0; column < int(rows[row].size()); ++column)
            list->setItem(row, column, new QTableWidgetItem(rows[row][column]));
    }
    FitDescriptorColumns(list);
    // The archive is where its descriptors say: a date outside it would only read "no record".
    if (const std::optional<TChronoArch> inside = DateInsideArchive(Host().Driver().Data().descriptors,
                                                                    m_controls.dataType->currentIndex(), ShownDate(),
                                                                    ImageReportTime(Host().Driver().Data())))
        ShowDate(*inside);
}
