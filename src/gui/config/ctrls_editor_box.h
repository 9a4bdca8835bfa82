#pragma once
// The box "Контроли:" of the controls-and-alarms page: the list of the four limit controls and, under
// it, the editors of the control selected in the list. Every change goes into the controls block at once.

#include "config/device_blocks.h"

#include <QGroupBox>

#include <functional>

class QComboBox;
class QLineEdit;
class QTreeWidget;

class CtrlsEditorBox : public QGroupBox {
    Q_OBJECT

public:
    CtrlsEditorBox(std::function<ControlsBlock&()> controls, const bool& loading, QWidget* parent = nullptr);

    // The list from the block, and the editors for the selected control.
    void Load();
    // Selects a control (0..3) in the list; its values come into the editors.
    void SelectControl(int index);
    int SelectedControl() const;

private:
    ControlEntry& Control() const;
    void ShowRow(int index);
    void LoadEditors();
    void ChangeKind(unsigned kind);

    std::function<ControlsBlock&()> m_controls;
    const bool& m_loading;
    bool m_filling = false;  // the editors are being filled for another control or kind
    QTreeWidget* m_list;
    QComboBox* m_kind;
    QComboBox* m_number;
    QComboBox* m_parameter;
    QLineEdit* m_minimum;
    QLineEdit* m_maximum;
};
