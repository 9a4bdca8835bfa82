#pragma once
// One node page of the device list: the base entries of one connection type in base order. Each row
// remembers which base entry it shows.

#include <QList>
#include <QWidget>

class NodeBase;
class QTableWidget;

class NodeListPage : public QWidget {
    Q_OBJECT

public:
    NodeListPage(int connectionType, QWidget* parent);

    int ConnectionType() const { return m_connectionType; }
    // Lists the entries of this page's type and selects `selectRow` (clamped to the last row; none
    // when negative).
    void Fill(const NodeBase& base, int selectRow = -1);
    int RowCount() const { return static_cast<int>(m_baseIndices.size()); }
    int SelectedRow() const;
    // The base index the row stood for when the page was filled.
    int BaseIndex(int row) const { return m_baseIndices.value(row, -1); }

private:
    int m_connectionType;
    QTableWidget* m_list;
    QList<int> m_baseIndices;
};
