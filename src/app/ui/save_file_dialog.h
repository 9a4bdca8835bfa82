#pragma once
// The save dialog of the program's windows: a title, one filter, a starting folder and name; it asks
// before a file is overwritten.

#include <QString>

class QWidget;

// The path the user chose, or an empty text when the dialog was cancelled.
QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& startPath, const QString& filter);
