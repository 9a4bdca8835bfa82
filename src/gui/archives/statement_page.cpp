#include "gui/archives/statement_page.h"

#include "app/app_environment.h"
#include "base/atomic_file.h"
#include "base/message_style.h"
#include "gui/archives/archive_range_runner.h"
#include "gui/archives/bar_value.h"
#include "gui/archives/database_password_prompt.h"
#include "gui/archives/runner_support.h"
#include "gui/archives/statement_files.h"
#include "gui/reports/report_window.h"
#include "gui/widgets/save_file_dialog.h"
#include "nodes/node_base.h"
#include "protocol/driver_access.h"
#include "reports/report_writer.h"
#include "reports/temp_files.h"
#include "statement/statement_format.h"
#include "statement/statement_source.h"
#include "statement/statement_writers.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr std::uint8_t kLastHour = 23;

TChronoArch ChronoOf(const QDate& date, std::uint8_t hour)
{
    return TChronoArch{std::uint8_t(date.day()), std::uint8_t(date.month()), std::uint8_t(date.year() - kBaseYear),
                       hour};
}

void Inform(PageHost& host, const QString& text)
{
    host.ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
}

// "Строк без данных: 3 - 05.11.2026, 06.11.2026, 07.11.2026", or that every row has its record.
QString MissingText(const Statement& statement)
{
    const QStringList missing = statement.MissingDates();
    if (missing.isEmpty())
        return QStringLiteral("Все строки ведомости заполнены.");
    return QStringLiteral("Строк без данных: %1 - %2").arg(missing.size()).arg(missing.join(QStringLiteral(", ")));
}

}  // namespace

CDlgStatement::CDlgStatement(PageHost& host, ArchiveRangeRunner& runner, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent), m_runner(runner), m_controls(BuildStatementPageControls(this))
{
    const StatementPageControls& c = m_controls;
    connect(c.make, &QPushButton::clicked, this, &CDlgStatement::Make);
    connect(c.stop, &QPushButton::clicked, this, [this] { Host().Driver().QueueServiceRequest(kServiceStop); });
    connect(c.show, &QPushButton::clicked, this, &CDlgStatement::ShowStatement);
    connect(c.save, &QPushButton::clicked, this, [this] {
        QString filter;
        const QString chosen = ChooseSaveFile(this, QStringLiteral("Сохранить..."), OfferedPath(),
                                              StatementSaveFilters().join(QStringLiteral(";;")), &filter);
        if (!chosen.isEmpty())
            SaveTo(StatementSavePath(chosen, filter));
    });
    // The runner serves the trends page too and talks from the driver's command thread: what arrives
    // queued counts only while this page's read runs.
    connect(&m_runner, &ArchiveRangeRunner::rangeStarted, this, [this] { ShowProgress(0, 0); });
    connect(&m_runner, &ArchiveRangeRunner::recordsDone, this, &CDlgStatement::ShowProgress);
    connect(&m_runner, &ArchiveRangeRunner::rangeFinished, this, [this](bool succeeded) {
        if (m_step != Step::kIdle)
            m_lastSucceeded = succeeded;
    });
    SetPreviousMonth();
    UpdateStates();
}

CDlgStatement::~CDlgStatement()
{
    Host().Driver().ForgetRequester(this);
}

void CDlgStatement::SetPreviousMonth()
{
    const QDate month = QDate::currentDate().addMonths(-1);
    const QDate first(month.year(), month.month(), 1);
    m_controls.from->setDate(first);
    m_controls.to->setDate(first.addDays(first.daysInMonth() - 1));
}

void CDlgStatement::UpdateStates()
{
    const StatementPageControls& c = m_controls;
    const DriverAccess& driver = Host().Driver();
    const bool reading = m_step != Step::kIdle;
    const bool connected = driver.IsDeviceConnected();
    FillSerial();
    c.make->setEnabled(!reading && !(connected && driver.IsBusy()));
    c.stop->setEnabled(reading && driver.IsBusy());
    const bool made = m_madeCount > 0;
    c.show->setEnabled(made && !reading);
    c.save->setEnabled(made && !reading);
}

void CDlgStatement::FillSerial()
{
    // Over a connection the statement is of the meter connected; without one, of the number typed, else
    // of the meter last connected or the node chosen.
    const DriverAccess& driver = Host().Driver();
    const bool connected = driver.IsDeviceConnected();
    std::uint32_t serial = driver.Data().configuration.identity.serialNumber;
    if (!connected && serial == 0)
        serial = Host().ChosenNodeSerial();
    if (connected || (m_controls.serial->text().isEmpty() && serial != 0))
        m_controls.serial->setText(QString::number(serial));
    m_controls.serial->setReadOnly(connected);
}

bool CDlgStatement::ChooseSource()
{
    const StatementPageControls& c = m_controls;
    if (c.from->date() > c.to->date()) {
        Inform(Host(), QString::fromUtf8(kBackwardRangeText));
        return false;
    }
    m_asked = StatementSource{};
    m_asked.kind = c.archive->currentIndex() == 0 ? kArchiveDaily : kArchiveHourly;
    m_asked.from = ChronoOf(c.from->date(), 0);
    m_asked.to = ChronoOf(c.to->date(), kLastHour);
    if (c.input->currentIndex() != kEveryInput)
        m_asked.input = c.input->currentIndex() - 1;
    m_asked.madeDate = StatementMadeDate();
    return true;
}

void CDlgStatement::Make()
{
    if (!ChooseSource() || !AskDatabasePasswordIfMissing(this, Host().Environment()))
        return;
    if (!Host().Driver().IsDeviceConnected()) {
        MakeFromDatabase();
        return;
    }
    m_readWhole = true;
    ReadNext(Step::kRecords);
}

void CDlgStatement::MakeFromDatabase()
{
    FillSerial();
    bool typed = false;
    const qulonglong serial = m_controls.serial->text().toULongLong(&typed);
    if (!typed || serial == 0 || serial > 0xFFFFFFFFull) {
        Inform(Host(),
               QStringLiteral("Прибор не подключен, и его заводской номер не указан. Установите связь "
                              "с прибором или введите его зав. N, чтобы сформировать ведомость по базе "
                              "данных архивов."));
        return;
    }
    m_asked.serial = std::uint32_t(serial);
    DatabaseTarget target;
    QString error;
    if (!ConfiguredTargetSource(Host().Environment())(&target, &error)
        || !ReadStatementRecords(target, &m_asked, &error)) {
        Inform(Host(), QStringLiteral("Ведомость не сформирована: %1").arg(error));
        return;
    }
    Finish(QStringLiteral("Записей из базы данных: %1").arg(m_asked.records.size()));
    ShowStatement();
}

void CDlgStatement::ReadNext(Step step)
{
    m_runner.SetRange(step == Step::kRecords ? StatementRange(m_asked) : StatementTotalsRange(m_asked));
    m_step = step;
    m_lastSucceeded = true;
    if (!Host().Driver().QueueCommand(kCommandReadArchiveRange, this))
        m_step = Step::kIdle;
    UpdateStates();
}

void CDlgStatement::CommandFinished(int code)
{
    if (code != kCommandReadArchiveRange || m_step == Step::kIdle)
        return;
    m_readWhole = m_readWhole && m_lastSucceeded;
    if (m_step == Step::kRecords) {
        m_recordsRead = m_runner.LastResult();
        // A read that failed part-way still gives the statement of what was found, the rest marked;
        // the totals are not asked of a meter that has just failed.
        if (m_lastSucceeded) {
            ReadNext(Step::kTotals);
            return;
        }
    } else {
        m_asked.totals = m_runner.LastResult().totals;
    }
    m_step = Step::kIdle;
    m_controls.progress->hide();
    const QString found = (m_readWhole ? QString() : QStringLiteral("Чтение не завершено. "))
        + RangeResultText(m_recordsRead);
    m_asked.records = std::move(m_recordsRead.records);
    DescribeMeter(Host().Driver().Data(), &m_asked);
    Finish(found);
    // This runs while the command thread waits for the window: the report window opens once it is free.
    QMetaObject::invokeMethod(this, &CDlgStatement::ShowStatement, Qt::QueuedConnection);
}

void CDlgStatement::ShowProgress(qint64 done, qint64 total)
{
    if (m_step == Step::kIdle)
        return;
    QProgressBar* bar = m_controls.progress;
    // Busy until the meter's share is known.
    bar->setRange(0, BarValue(total));
    bar->setValue(BarValue(done));
    bar->show();
}

void CDlgStatement::DescribeNodeOf(StatementSource* source)
{
    NodeBase base;
    if (Host().Environment().LoadNodeBase(base, nullptr))
        DescribeNode(base, source);
}

void CDlgStatement::Finish(const QString& found)
{
    DescribeNodeOf(&m_asked);
    m_madeFrom = std::move(m_asked);
    m_statement = BuildStatement(m_madeFrom);
    ++m_madeCount;
    m_controls.result->setText(found);
    m_controls.missing->setText(MissingText(m_statement));
    UpdateStates();
}

QString CDlgStatement::OfferedPath()
{
    return QDir(Host().Environment().ReportsFolderPath())
        .filePath(StatementFileName(m_madeFrom, StatementExtension(StatementFormat::kPdf)));
}

bool CDlgStatement::SaveTo(const QString& path)
{
    return SaveStatementFile(Host(), m_statement, path);
}

void CDlgStatement::ShowStatement()
{
    if (m_madeCount == 0)
        return;
    ReportWindow window(Host().Environment().Settings(), this);
    const QString file = ReportTempName(DefaultReportFolder(), window.WindowNumber(), ReportTempPart::Finished);
    QString error;
    if (!ReplaceFileContents(file, StatementHtml(m_statement), &error)) {
        Inform(Host(), QStringLiteral("Не удалось показать ведомость: %1 (%2)").arg(error, file));
        return;
    }
    window.OfferSaveAs(OfferedPath());
    window.SaveInForms(StatementSaveFilters(), [this](const QString& chosen, const QString& filter) {
        return SaveTo(StatementSavePath(chosen, filter));
    });
    window.ShowReport(file, Host().Environment().ReportsFolderPath());
    QFile::remove(file);
}
