#include "app/ui/dlg_main_config.h"

#include "app/ui/connection_toolbar.h"
#include "protocol/rovo_redod.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

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
      m_toolbar(new ConnectionToolbar(host, this, ConnectionToolbar::EnableRule::kWhileIdle, this)),
      m_connection(TextLabel("connectionText")),
      m_operation(TextLabel("operationText")),
      m_detail(TextLabel("detailText")),
      m_device(TextLabel("deviceInformation"))
{
    auto* texts = new QGridLayout;
    texts->addWidget(m_connection, 0, 0);
    texts->addWidget(m_operation, 0, 1);
    texts->addWidget(m_detail, 1, 0, 1, 2);
    texts->setColumnStretch(1, 1);

    m_device->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addLayout(texts);
    layout->addWidget(m_device);
    layout->addStretch(1);
    UpdateBusy();
}

CDlgMainConfig::~CDlgMainConfig()
{
    Host().Driver().ForgetRequester(this);
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
    m_toolbar->Update();
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
