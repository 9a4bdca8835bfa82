#include "app/ui/dlg_main_config.h"

#include "app/ui/connection_toolbar.h"
#include "app/ui/driver_progress_texts.h"
#include "protocol/rovo_redod.h"

#include <QLabel>
#include <QVBoxLayout>

CDlgMainConfig::CDlgMainConfig(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_toolbar(new ConnectionToolbar(host, this, ConnectionToolbar::EnableRule::kWhileIdle, this)),
      m_texts(new DriverProgressTexts(this)),
      m_device(new QLabel(this))
{
    m_device->setObjectName(QStringLiteral("deviceInformation"));
    m_device->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_device->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_texts);
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

void CDlgMainConfig::RefreshCommandStates()
{
    UpdateBusy();
}

void CDlgMainConfig::CommandFinished(int)
{
    // The texts and the device information have already come through the host; the configuration pages
    // that come later refresh themselves on their own notice.
}
