#pragma once
// Small pieces the configuration pages are built from: combo boxes over a code-to-text table that carry
// the record's value as item data, numeric line edits that filter what is typed, and the formatting
// of stored numbers.

#include "base/numeric_field_rule.h"
#include "config/config_texts.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;

// A new widget of type T made from `args`, named `name` so tests and style sheets find it.
template <typename T, typename... Args>
T* NamedWidget(const char* name, Args&&... args)
{
    auto* widget = new T(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
// A line edit named `name` that takes at most `maxLength` characters.
QLineEdit* LimitedEdit(const char* name, int maxLength);

// A label named `name` whose text the user may select and copy.
QLabel* SelectableLabel(const char* name);

// A combo box named `name` listing `table` (value as item data).
QComboBox* ValueCombo(const char* name, ValueTexts table);
// A combo box named `name` listing `texts`, item i carrying `first` + i.
QComboBox* CountedCombo(const char* name, const QStringList& texts, int first = 0);
// Selects the item carrying `value`; when there is none the combo shows nothing and false comes back.
bool SelectComboValue(QComboBox* combo, unsigned value);
// The value of the selected item; nothing when none is selected.
std::optional<unsigned> ComboValue(const QComboBox* combo);
// Calls `changed` with the value the user picked (not when the program selects).
void OnComboPicked(QComboBox* combo, std::function<void(unsigned)> changed);

// A line edit named `name` that keeps only what `rule` allows.
QLineEdit* NumericEdit(const char* name, NumericFieldRule rule);
// Calls `changed` with the number after every edit that leaves one in the field.
void OnNumberEdited(QLineEdit* edit, std::function<void(double)> changed);
// "%.*f" of `value`.
QString FixedText(double value, int decimals);
