#pragma once
// The field kinds of the pipes and controls pages: numeric edits filtered as the user types and stored
// at every change that leaves a number, and choice lists filled from a code-to-text table. Handlers
// stay quiet while the page loads its values (the page's loading flag).

#include "base/numeric_field_rule.h"
#include "config/config_texts.h"

#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

// `store` gets the value of the text after each edit by the user that leaves a number.
QLineEdit* MakeNumericEdit(const NumericFieldRule& rule, std::function<void(double)> store, const bool& loading,
                           QWidget* parent);
// Shows `value` with `decimals` decimals, as the page formats it.
void ShowNumber(QLineEdit* edit, double value, int decimals);

// A list of the table's texts; `store` gets the value of each entry chosen while the page is not loading.
QComboBox* MakeChoiceList(ValueTexts table, std::function<void(unsigned)> store, const bool& loading, QWidget* parent);
// Selects the entry of `value`; a value the list lacks (an invalid stored value) selects nothing.
void SelectValue(QComboBox* list, unsigned value);
