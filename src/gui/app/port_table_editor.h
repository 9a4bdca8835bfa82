#pragma once
// The serial port table as the options dialog edits it: COM1..COM32 with the device each stands for,
// the serial devices found on this machine, and any path (a pseudo-terminal too) typed by hand.
// Edits stay in the editor's own copy until the dialog takes them.

#include "channel/port_table.h"

#include <QWidget>

class QComboBox;
class QTableWidget;

class PortTableEditor : public QWidget {
    Q_OBJECT

public:
    // Starts from `entries`; `deviceFolder` is where the serial devices are looked for.
    explicit PortTableEditor(const QMap<int, QString>& entries, const QString& deviceFolder = QStringLiteral("/dev"),
                             QWidget* parent = nullptr);

    QMap<int, QString> Entries() const { return m_table.Entries(); }

    // Puts `path` under `number` (taking it from any other number); an empty path clears the number.
    void Assign(int number, const QString& path);
    // The COM number of the selected row, or 0.
    int SelectedNumber() const;

private:
    void AssignChosen();
    void ClearSelected();
    void ShowTable();

    PortTable m_table;
    QTableWidget* m_rows;
    QComboBox* m_device;
};
