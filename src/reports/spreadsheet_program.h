#pragma once
// Whether this desktop has a program that opens a saved report copy (".xls", HTML inside): the desktop's
// default application for the file's type, as xdg-mime tells it.

#include <QString>

// True when a default application is registered for the type of `file`.
bool SpreadsheetProgramFor(const QString& file);

// "Не найдена программа электронных таблиц для файла "<file>"..."
QString NoSpreadsheetProgramText(const QString& file);
