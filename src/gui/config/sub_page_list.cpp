#include "gui/config/sub_page_list.h"

#include "gui/widgets/page_host.h"
#include "gui/widgets/page_tree.h"

#include <QHeaderView>

namespace {

constexpr int kIdRole = Qt::UserRole;

}  // namespace

SubPageList::SubPageList(PageHost& host, QWidget* parent) : QTreeWidget(parent), m_host(host)
{
    setObjectName(QStringLiteral("subPageList"));
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("№"), QStringLiteral("Страница")});
    setRootIsDecorated(false);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(true);
    header()->resizeSection(0, 40);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Choose(item); });
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { Choose(item); });
}

void SubPageList::ShowChildrenOf(const PageTree& tree, int parentId)
{
    clear();
    const QList<PageEntry>& entries = tree.Entries();
    const PageEntry* parent = tree.Find(parentId);
    if (!parent)
        return;
    int number = 0;
    for (const PageEntry& entry : entries) {
        if (entry.parentIndex < 0 || entries[entry.parentIndex].id != parentId)
            continue;
        auto* item = new QTreeWidgetItem(this, {QString::number(++number), entry.caption});
        item->setData(0, kIdRole, entry.id);
        item->setDisabled(!entry.enabled);
    }
}

int SubPageList::PageIdAt(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, kIdRole).toInt() : -1;
}

void SubPageList::Choose(QTreeWidgetItem* item)
{
    if (item && !item->isDisabled())
        m_host.SelectPage(item->data(0, kIdRole).toInt());
}
