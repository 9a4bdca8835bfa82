#include "app/ui/dlg_main_config.h"

#include "protocol/rovo_redod.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
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

QLabel* TextLabel(const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CDlgMainConfig::CDlgMainConfig(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_connect(ToolButton(QStringLiteral("Установить связь"), QStyle::SP_MediaPlay, "connectButton", this)),
      m_break(ToolButton(QStringLiteral("Разорвать связь"), QStyle::SP_DialogCloseButton, "breakButton", this)),
      m_stop(ToolButton(QStringLiteral("Остановить процесс"), QStyle::SP_MediaStop, "stopButton", this)),
      m_connection(TextLabel("connectionText")),
      m_operation(TextLabel("operationText")),
      m_detail(TextLabel("detailText")),
      m_device(TextLabel("deviceInformation"))
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
    layout->addStretch(1);
    UpdateBusy();
}

CDlgMainConfig::~CDlgMainConfig()
{
    Host().Driver().ForgetRequester(this);
}

void CDlgMainConfig::Connect()
{
    if (Host().SelectNode())
        Host().Driver().QueueCommand(kCommandConnect, this);
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

void CDlgMainConfig::RefreshCommandStates()
{
    UpdateBusy();
}

void CDlgMainConfig::CommandFinished(int)
{
    // The texts and the device information have already come through the host; the configuration pages
    // that come later refresh themselves on their own notice.
}
