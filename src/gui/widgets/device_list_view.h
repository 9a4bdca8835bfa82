#pragma once
// The look the device and node lists share: numbered rows, whole-row selection, grid lines, one
// selected row at most.

#include <QStringList>
#include <QTableWidget>

#include <initializer_list>

struct ListColumn {
    QString title;
    int width;
};

QTableWidget* NewDeviceListView(QWidget* parent, std::initializer_list<ListColumn> columns);
// Adds a row with these cell texts.
void AppendListRow(QTableWidget* list, const QStringList& texts);
// The selected row, or -1.
int SelectedListRow(const QTableWidget* list);
