#pragma once
// Driving the input pages as a user: the picker opened from "Задать параметры" and worked through its
// lists, combo choices and list rows found by their texts.

#include "gui/config/input_scheme_page.h"
#include "gui/config/scheme_choice_view.h"
#include "gui/config/scheme_picker_dialog.h"
#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/ui_test_helpers.h"

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

#include <functional>

// The first row of `list` whose cells `columns` read `texts`, or null.
inline QTreeWidgetItem* RowWith(QTreeWidget* list, const QList<int>& columns, const QStringList& texts)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        bool match = true;
        for (int c = 0; c < columns.size(); ++c)
            match = match && item->text(columns[c]) == texts[c];
        if (match)
            return item;
    }
    return nullptr;
}

inline QStringList ColumnTexts(QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

inline void ClickRow(QTreeWidget* list, QTreeWidgetItem* item)
{
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

inline void PickScheme(CSchemePickerDialog& picker, int scheme)
{
    QTreeWidget* list = picker.View()->SchemeList();
    ClickRow(list, RowWith(list, {0}, {QString::number(scheme)}));
}

inline void PickCombination(CSchemePickerDialog& picker, unsigned kt3, unsigned frt)
{
    QTreeWidget* list = picker.View()->CombinationList();
    ClickRow(list, RowWith(list, {1, 2}, {QString::number(kt3), QString::number(frt)}));
}

inline void PressOk(CSchemePickerDialog& picker)
{
    ClickStandardButton(picker, QDialogButtonBox::Ok);
}

// Presses "Задать параметры" and hands the picker to `act`; a picker `act` leaves open is cancelled.
// False when no picker came up.
inline bool RunPicker(CDlgMainConfigWiScheme& page, const std::function<void(CSchemePickerDialog&)>& act)
{
    bool reached = false;
    WhenModal<CSchemePickerDialog>([&](CSchemePickerDialog* picker) {
        reached = true;
        act(*picker);
        if (picker->isVisible())
            picker->reject();
    });
    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("chooseScheme")), Qt::LeftButton);
    return reached;
}

inline QStringList ComboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

inline void Choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
}
