#include "gui/config/configuration_frame_page.h"

#include "app/app_environment.h"
#include "config/config_messages.h"
#include "config/settings_report_output.h"
#include "config/tunes_validation.h"
#include "gui/config/config_field_widgets.h"
#include "gui/config/sub_page_list.h"
#include "gui/reports/report_window.h"
#include "gui/widgets/connection_toolbar.h"
#include "gui/widgets/driver_progress_texts.h"
#include "gui/widgets/page_messages.h"
#include "gui/widgets/page_tree.h"
#include "protocol/driver_access.h"
#include "reports/report_writer.h"

#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

CDlgMainConfig::CDlgMainConfig(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_toolbar(new ConnectionToolbar(host, this, ConnectionToolbar::EnableRule::kWhileIdle, this)),
      m_texts(new DriverProgressTexts(this)),
      m_device(SelectableLabel("deviceInformation")),
      m_subPages(new SubPageList(host))
{
    m_device->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_texts);
    layout->addWidget(m_device);
    layout->addWidget(BuildButtons());
    layout->addWidget(m_subPages, 1);
    UpdateBusy();
}

CDlgMainConfig::~CDlgMainConfig()
{
    Host().Driver().ForgetRequester(this);
}

QWidget* CDlgMainConfig::BuildButtons()
{
    m_open = NamedWidget<QPushButton>("openFileButton", QStringLiteral("Открыть настройки из файла"));
    m_save = NamedWidget<QPushButton>("saveFileButton", QStringLiteral("Сохранить настройки в файл"));
    m_report = NamedWidget<QPushButton>("reportButton", QStringLiteral("Отчет о настройках"));
    m_read = NamedWidget<QPushButton>("readButton", QStringLiteral("Прочитать настройки из прибора"));
    m_write = NamedWidget<QPushButton>("writeButton", QStringLiteral("Записать настройки в прибор"));
    m_check = NamedWidget<QPushButton>("checkButton", QStringLiteral("Проверить настройки"));
    connect(m_open, &QPushButton::clicked, this, &CDlgMainConfig::openFileRequested);
    connect(m_save, &QPushButton::clicked, this, &CDlgMainConfig::saveFileRequested);
    connect(m_report, &QPushButton::clicked, this, &CDlgMainConfig::ShowReport);
    connect(m_read, &QPushButton::clicked, this, &CDlgMainConfig::ReadFromMeter);
    connect(m_write, &QPushButton::clicked, this, &CDlgMainConfig::WriteToMeter);
    connect(m_check, &QPushButton::clicked, this, &CDlgMainConfig::CheckConfiguration);

    auto* buttons = new QWidget;
    auto* grid = new QGridLayout(buttons);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_open, 0, 0);
    grid->addWidget(m_save, 1, 0);
    grid->addWidget(m_report, 2, 0);
    grid->addWidget(m_read, 0, 1);
    grid->addWidget(m_write, 1, 1);
    grid->addWidget(m_check, 2, 1);
    grid->setColumnStretch(2, 1);
    return buttons;
}

void CDlgMainConfig::ReadFromMeter()
{
    if (!Host().Driver().IsBusy())
        Host().Driver().QueueCommand(kCommandReadConfiguration, this);
}

void CDlgMainConfig::WriteToMeter()
{
    if (!Host().Driver().IsBusy() && CheckConfiguration() && ConfirmMissingSettings())
        Host().Driver().QueueCommand(kCommandWriteConfiguration, this);
}

bool CDlgMainConfig::ConfirmMissingSettings()
{
    const QString missing = Host().Driver().Data().configurationMissing;
    if (missing.isEmpty())
        return true;
    const QString text = QStringLiteral(
                             "Настройки открыты из файла, который короче ожидаемого: в нем недостает %1. "
                             "Этих настроек в файле нет, в прибор уйдут не они. Записать настройки в "
                             "прибор?")
                             .arg(missing);
    return Host().ShowMessage(text, QString::fromUtf8(kCaptionQuestion),
                              MessageStyle::kYesNo | MessageStyle::kIconWarning)
        == MessageAnswer::kYes;
}

bool CDlgMainConfig::CheckConfiguration()
{
    // While a command runs the configuration belongs to the command thread.
    if (Host().Driver().IsBusy())
        return false;
    PageMessages messages(Host());
    const bool valid = ValidateTunes(Host().Driver().Configuration(), messages);
    // The check's own result replaces whatever the last command left.
    m_texts->SetOperationText(valid ? QStringLiteral("Проверка настроек: ошибок не найдено.")
                                    : QStringLiteral("Проверка настроек: найдены ошибки!"));
    m_texts->SetDetailText(QString());
    return valid;
}

void CDlgMainConfig::ShowReport()
{
    if (Host().Driver().IsBusy())
        return;
    PageMessages messages(Host());
    ReportWindow window(Host().Environment().Settings(), this);
    window.OfferSaveAs(QDir(Host().Environment().ReportsFolderPath())
                           .filePath(SettingsReportFileName(Host().Driver().Configuration(), QDate::currentDate())));
    const SettingsReportPlace place{.folder = DefaultReportFolder(), .windowNumber = window.WindowNumber()};
    ShowSettingsReport(Host().Driver().Configuration(), messages, window, place);
}

void CDlgMainConfig::SetPageTree(const PageTree* tree)
{
    m_tree = tree;
    if (m_tree)
        connect(m_tree, &PageTree::entryChanged, this, &CDlgMainConfig::RefreshSubPages, Qt::UniqueConnection);
    RefreshSubPages();
}

void CDlgMainConfig::RefreshSubPages()
{
    if (m_tree)
        m_subPages->ShowChildrenOf(*m_tree, kPageId);
}

void CDlgMainConfig::SetConnectionText(const QString& text)
{
    m_texts->SetConnectionText(text);
}

void CDlgMainConfig::SetOperationText(const QString& text)
{
    m_texts->SetOperationText(text);
}

void CDlgMainConfig::SetDetailText(const QString& text)
{
    m_texts->SetDetailText(text);
}

void CDlgMainConfig::SetDeviceInformation(const QString& text)
{
    m_device->setText(text);
}

void CDlgMainConfig::UpdateBusy()
{
    m_toolbar->Update();
    const bool busy = Host().Driver().IsBusy();
    for (QPushButton* button : {m_open, m_save, m_report, m_check})
        button->setEnabled(!busy);
    EnableWhileConnected({m_read, m_write});
}

QToolButton* CDlgMainConfig::ConnectButton() const
{
    return m_toolbar->ConnectButton();
}

QToolButton* CDlgMainConfig::BreakButton() const
{
    return m_toolbar->BreakButton();
}

QToolButton* CDlgMainConfig::StopButton() const
{
    return m_toolbar->StopButton();
}

QString CDlgMainConfig::ConnectionText() const
{
    return m_texts->ConnectionText();
}

QString CDlgMainConfig::OperationText() const
{
    return m_texts->OperationText();
}

QString CDlgMainConfig::DetailText() const
{
    return m_texts->DetailText();
}

QString CDlgMainConfig::DeviceInformation() const
{
    return m_device->text();
}

void CDlgMainConfig::OnPageShown()
{
    // Pages may have been added below this one since it was last shown.
    RefreshSubPages();
}

void CDlgMainConfig::RefreshCommandStates()
{
    UpdateBusy();
}

void CDlgMainConfig::CommandFinished(int code)
{
    if (code == kCommandWriteConfiguration)
        emit configurationWritten();
    // A read has already refreshed every page and the tree's labels through the window (the driver
    // tells it as soon as the configuration has arrived); a write changes nothing on screen.
}
