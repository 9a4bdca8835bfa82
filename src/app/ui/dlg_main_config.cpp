#include "app/ui/dlg_main_config.h"

#include "app/app_environment.h"
#include "config/config_messages.h"
#include "config/settings_report_output.h"
#include "config/tunes_validation.h"
#include "config/ui/config_field_widgets.h"
#include "config/ui/sub_page_list.h"
#include "protocol/rovo_redod.h"
#include "reports/report_writer.h"
#include "reports/ui/report_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* ToolButton(const QString& text, QStyle::StandardPixmap icon, const char* name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// The checks speak through the window's message boxes.
class PageMessages : public ConfigMessageHost {
public:
    explicit PageMessages(PageHost& host) : m_host(host) {}
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override
    {
        return m_host.ShowMessage(text, caption, style);
    }

private:
    PageHost& m_host;
};

}  // namespace

CDlgMainConfig::CDlgMainConfig(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_connect(ToolButton(QStringLiteral("Установить связь"), QStyle::SP_MediaPlay, "connectButton", this)),
      m_break(ToolButton(QStringLiteral("Разорвать связь"), QStyle::SP_DialogCloseButton, "breakButton", this)),
      m_stop(ToolButton(QStringLiteral("Остановить процесс"), QStyle::SP_MediaStop, "stopButton", this)),
      m_connection(SelectableLabel("connectionText")),
      m_operation(SelectableLabel("operationText")),
      m_detail(SelectableLabel("detailText")),
      m_device(SelectableLabel("deviceInformation")),
      m_subPages(new SubPageList(host))
{
    connect(m_connect, &QToolButton::clicked, this, &CDlgMainConfig::Connect);
    connect(m_break, &QToolButton::clicked, this,
            [this] { Host().Driver().QueueServiceRequest(kServiceBreakConnection); });
    connect(m_stop, &QToolButton::clicked, this, [this] { Host().Driver().QueueServiceRequest(kServiceStop); });

    auto* toolbar = new QHBoxLayout;
    toolbar->addWidget(m_connect);
    toolbar->addWidget(m_break);
    toolbar->addWidget(m_stop);
    toolbar->addStretch(1);

    auto* texts = new QGridLayout;
    texts->addWidget(m_connection, 0, 0);
    texts->addWidget(m_operation, 0, 1);
    texts->addWidget(m_detail, 1, 0, 1, 2);
    texts->setColumnStretch(1, 1);

    m_device->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(toolbar);
    layout->addLayout(texts);
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

void CDlgMainConfig::Connect()
{
    if (Host().SelectNode())
        Host().Driver().QueueCommand(kCommandConnect, this);
}

void CDlgMainConfig::ReadFromMeter()
{
    if (!Host().Driver().IsBusy())
        Host().Driver().QueueCommand(kCommandReadConfiguration, this);
}

void CDlgMainConfig::WriteToMeter()
{
    if (!Host().Driver().IsBusy() && CheckConfiguration())
        Host().Driver().QueueCommand(kCommandWriteConfiguration, this);
}

bool CDlgMainConfig::CheckConfiguration()
{
    // While a command runs the configuration belongs to the command thread.
    if (Host().Driver().IsBusy())
        return false;
    PageMessages messages(Host());
    return ValidateTunes(Host().Driver().Configuration(), messages);
}

void CDlgMainConfig::ShowReport()
{
    if (Host().Driver().IsBusy())
        return;
    PageMessages messages(Host());
    ReportWindow window(Host().Environment().Settings(), this);
    const SettingsReportPlace place{.folder = DefaultReportFolder(), .windowNumber = window.WindowNumber()};
    ShowSettingsReport(Host().Driver().Configuration(), messages, window, place);
}

void CDlgMainConfig::SetPageTree(const PageTree* tree)
{
    m_tree = tree;
    RefreshSubPages();
}

void CDlgMainConfig::RefreshSubPages()
{
    if (m_tree)
        m_subPages->ShowChildrenOf(*m_tree, kPageId);
}

void CDlgMainConfig::SetConnectionText(const QString& text)
{
    m_connection->setText(text);
}

void CDlgMainConfig::SetOperationText(const QString& text)
{
    m_operation->setText(text);
}

void CDlgMainConfig::SetDetailText(const QString& text)
{
    m_detail->setText(text);
}

void CDlgMainConfig::SetDeviceInformation(const QString& text)
{
    m_device->setText(text);
}

void CDlgMainConfig::UpdateBusy()
{
    const bool busy = Host().Driver().IsBusy();
    m_connect->setEnabled(!busy);
    m_stop->setEnabled(busy);
    for (QPushButton* button : {m_open, m_save, m_report, m_read, m_write, m_check})
        button->setEnabled(!busy);
}

QString CDlgMainConfig::ConnectionText() const
{
    return m_connection->text();
}

QString CDlgMainConfig::OperationText() const
{
    return m_operation->text();
}

QString CDlgMainConfig::DetailText() const
{
    return m_detail->text();
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

void CDlgMainConfig::CommandFinished(int)
{
    // A read has already refreshed every page and the tree's labels through the window (the driver
    // tells it as soon as the configuration has arrived); a write changes nothing on screen.
}
