#include "app/ui/node_chooser_dialog.h"

#include "channel/channel_types.h"
#include "nodes/node_base.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

QString NodeConnectionText(const NodeRecord& node)
{
    switch (node.ConnectionType()) {
    case kChannelDirect:
        return QStringLiteral("Прямое COM%1").arg(node.ComPort());
    case kChannelModem:
        return QStringLiteral("Модем %1").arg(node.PhoneNumber());
    case kChannelIp:
        return QStringLiteral("Ethernet/Internet %1:%2").arg(node.IpAddress()).arg(node.IpPort());
    default:
        return QString::number(node.ConnectionType());
    }
}

NodeChooserDialog::NodeChooserDialog(const NodeBase& base, int initialIndex, QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget), m_ok(nullptr)
{
    setWindowTitle(QStringLiteral("Выбор узла учета"));
    m_list->setObjectName(QStringLiteral("nodeList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Название"), QStringLiteral("Связь")});
    for (int i = 0; i < base.Count(); ++i) {
        const NodeRecord& node = base.At(i).record;
        auto* item = new QTreeWidgetItem(m_list, {node.Name(), NodeConnectionText(node)});
        item->setData(0, Qt::UserRole, i);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox;
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { m_ok->setEnabled(current != nullptr); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);

    if (base.Count() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(base.IsValidIndex(initialIndex) ? initialIndex : 0));
    m_ok->setEnabled(m_list->currentItem() != nullptr);
    resize(480, 300);
}

int NodeChooserDialog::SelectedIndex() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}
