#include "archives/ui/dlg_read_data.h"

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

CDlgReadData::CDlgReadData(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_toolbar(new ConnectionToolbar(host, this, ConnectionToolbar::EnableRule::kWhileDisconnected, this)),
      m_connection(TextLabel("connectionText")),
      m_operation(TextLabel("operationText")),
      m_detail(TextLabel("detailText"))
{
    auto* texts = new QGridLayout;
    texts->addWidget(m_connection, 0, 0);
    texts->addWidget(m_operation, 0, 1);
    texts->addWidget(m_detail, 1, 0, 1, 2);
    texts->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addLayout(texts);
    layout->addStretch(1);
}

CDlgReadData::~CDlgReadData()
{
    Host().Driver().ForgetRequester(this);
}

void CDlgReadData::SetConnectionText(const QString& text)
{
    m_connection->setText(text);
}

void CDlgReadData::SetOperationText(const QString& text)
{
    m_operation->setText(text);
}

void CDlgReadData::SetDetailText(const QString& text)
{
    m_detail->setText(text);
}

void CDlgReadData::UpdateStates()
{
    m_toolbar->Update();
}

QString CDlgReadData::ConnectionText() const
{
    return m_connection->text();
}

QString CDlgReadData::OperationText() const
{
    return m_operation->text();
}

QString CDlgReadData::DetailText() const
{
    return m_detail->text();
}

QToolButton* CDlgReadData::ConnectButton() const
{
    return m_toolbar->ConnectButton();
}

QToolButton* CDlgReadData::BreakButton() const
{
    return m_toolbar->BreakButton();
}

QToolButton* CDlgReadData::StopButton() const
{
    return m_toolbar->StopButton();
}
