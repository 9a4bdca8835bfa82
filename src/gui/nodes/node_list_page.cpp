#include "gui/nodes/node_list_page.h"

#include "channel/channel_types.h"
#include "gui/widgets/device_list_view.h"
#include "nodes/node_base.h"

#include <QVBoxLayout>

#include <algorithm>

namespace {

// An IP node is found by where it listens; its postal address, when it has one, comes first.
QString ListAddress(const NodeRecord& record)
{
    if (record.ConnectionType() != kChannelIp)
        return record.Address();
    if (record.Address().isEmpty())
        return record.IpEndpoint();
    return QStringLiteral("%1, %2").arg(record.Address(), record.IpEndpoint());
}

}  // namespace

NodeListPage::NodeListPage(int connectionType, QWidget* parent) : QWidget(parent), m_connectionType(connectionType)
{
    m_list = NewDeviceListView(
        this, {{QStringLiteral("N"), 30}, {QStringLiteral("Название"), 150}, {QStringLiteral("Адрес"), 150}});
    m_list->setObjectName(QStringLiteral("nodeList%1").arg(connectionType));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
}

void NodeListPage::Fill(const NodeBase& base, int selectRow)
{
    m_baseIndices = base.IndicesOfType(m_connectionType);
    m_list->setRowCount(0);
    for (int row = 0; row < m_baseIndices.size(); ++row) {
        const NodeRecord& record = base.At(m_baseIndices[row]).record;
        AppendListRow(m_list, {QString::number(row + 1), record.Name(), ListAddress(record)});
    }
    if (selectRow >= 0 && RowCount() > 0)
        m_list->selectRow(std::min(selectRow, RowCount() - 1));
}

int NodeListPage::SelectedRow() const
{
    return SelectedListRow(m_list);
}
