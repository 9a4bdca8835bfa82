#include "gui/widgets/device_list_view.h"

#include <QHeaderView>

QTableWidget* NewDeviceListView(QWidget* parent, std::initializer_list<ListColumn> columns)
{
    auto* list = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    int column = 0;
    for (const ListColumn& each : columns) {
        list->setHorizontalHeaderItem(column, new QTableWidgetItem(each.title));
        list->setColumnWidth(column, each.width);
        ++column;
    }
    list->verticalHeader()->setVisible(false);
    list->horizontalHeader()->setStretchLastSection(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    return list;
}

void AppendListRow(QTableWidget* list, const QStringList& texts)
{
    const int row = list->rowCount();
    list->insertRow(row);
    for (int column = 0; column < texts.size(); ++column)
        list->setItem(row, column, new QTableWidgetItem(texts[column]));
}

int SelectedListRow(const QTableWidget* list)
{
    const QList<QTableWidgetSelectionRange> ranges = list->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}
