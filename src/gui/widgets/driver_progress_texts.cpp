#include "gui/widgets/driver_progress_texts.h"

#include <QGridLayout>
#include <QLabel>

namespace {

QLabel* TextLabel(const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

DriverProgressTexts::DriverProgressTexts(QWidget* parent)
    : QWidget(parent),
      m_connection(TextLabel("connectionText")),
      m_operation(TextLabel("operationText")),
      m_detail(TextLabel("detailText"))
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_connection, 0, 0);
    layout->addWidget(m_operation, 0, 1);
    layout->addWidget(m_detail, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
}

void DriverProgressTexts::SetConnectionText(const QString& text)
{
    m_connection->setText(text);
}

void DriverProgressTexts::SetOperationText(const QString& text)
{
    m_operation->setText(text);
}

void DriverProgressTexts::SetDetailText(const QString& text)
{
    m_detail->setText(text);
}

QString DriverProgressTexts::ConnectionText() const
{
    return m_connection->text();
}

QString DriverProgressTexts::OperationText() const
{
    return m_operation->text();
}

QString DriverProgressTexts::DetailText() const
{
    return m_detail->text();
}
