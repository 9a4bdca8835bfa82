#pragma once
// An interim node chooser: the nodes of the base with their connections, OK and "Отмена". It stands in
// for the full channel selection dialog until that exists; it edits nothing.

#include <QDialog>

class NodeBase;
class NodeRecord;
class QTreeWidget;
class QPushButton;

class NodeChooserDialog : public QDialog {
    Q_OBJECT

public:
    // `initialIndex` is the node selected when the dialog opens (the first one when out of range).
    NodeChooserDialog(const NodeBase& base, int initialIndex, QWidget* parent = nullptr);

    // The index in the base of the chosen node, or -1.
    int SelectedIndex() const;

private:
    QTreeWidget* m_list;
    QPushButton* m_ok;
};

// How a node is reached, in one line: "Ethernet/Internet 127.0.0.1:5001", "Прямое COM3", "Модем 8123...".
QString NodeConnectionText(const NodeRecord& node);
