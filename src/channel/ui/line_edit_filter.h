#pragma once
// Applies an input rule to a line edit as the user types: after each edit the text becomes what the
// rule keeps, and the caret stays after the character it followed.

#include <QString>

#include <functional>

class QLineEdit;

using TextRule = std::function<QString(const QString&)>;

void InstallTextRule(QLineEdit* edit, TextRule rule);
