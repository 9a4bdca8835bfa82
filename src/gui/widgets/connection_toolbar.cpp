#include "gui/widgets/connection_toolbar.h"

#include "gui/widgets/page_host.h"
#include "protocol/driver_access.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

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

}  // namespace

ConnectionToolbar::ConnectionToolbar(PageHost& host, CommandRequester* requester, EnableRule rule, QWidget* parent)
    : QWidget(parent),
      m_host(host),
      m_requester(requester),
      m_rule(rule),
      m_connect(ToolButton(QStringLiteral("Установить связь"), QStyle::SP_MediaPlay, "connectButton", this)),
      m_break(ToolButton(QStringLiteral("Разорвать связь"), QStyle::SP_DialogCloseButton, "breakButton", this)),
      m_stop(ToolButton(QStringLiteral("Остановить процесс"), QStyle::SP_MediaStop, "stopButton", this))
{
    connect(m_connect, &QToolButton::clicked, this, &ConnectionToolbar::Connect);
    connect(m_break, &QToolButton::clicked, this,
            [this] { m_host.Driver().QueueServiceRequest(kServiceBreakConnection); });
    connect(m_stop, &QToolButton::clicked, this, [this] { m_host.Driver().QueueServiceRequest(kServiceStop); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_connect);
    layout->addWidget(m_break);
    layout->addWidget(m_stop);
    layout->addStretch(1);
    Update();
}

void ConnectionToolbar::Connect()
{
    if (!m_host.SelectNode())
        return;
    m_host.Driver().Data().keepConfigurationOnConnect = m_host.KeepEditedConfiguration();
    m_host.Driver().QueueCommand(kCommandConnect, m_requester);
}

void ConnectionToolbar::Update()
{
    const DriverAccess& driver = m_host.Driver();
    const bool busy = driver.IsBusy();
    const bool connected = driver.IsDeviceConnected();
    const bool whileDisconnected = m_rule == EnableRule::kWhileDisconnected;
    m_connect->setEnabled(!busy && !(whileDisconnected && connected));
    m_break->setEnabled(!whileDisconnected || connected);
    m_stop->setEnabled(busy);
}
