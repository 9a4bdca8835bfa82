#pragma once
// Applies an input rule to a line edit as the user types: after each edit the text becomes what the
// rule keeps, and the caret stays after the character it followed.

#include "base/numeric_field_rule.h"

#include <QString>

#include <functional>

class QLineEdit;

using TextRule = std::function<QString(const QString&)>;

void InstallTextRule(QLineEdit* edit, TextRule rule);

// The numeric rule, for every numeric field of the program. Typed keys go through it one by one; a
// text put in whole (pasted, dropped) whose number the rule would change is refused whole, and the
// field keeps what it had.
void InstallNumberRule(QLineEdit* edit, NumericFieldRule rule);
