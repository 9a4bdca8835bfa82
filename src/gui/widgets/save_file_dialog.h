#pragma once
// The save dialog of the program's windows: a title, a filter (or several joined by ";;"), a starting
// folder and name; it asks before a file is overwritten.

#include <QString>

class QWidget;

// The path the user chose, or an empty text when the dialog was cancelled. A `startPath` that is empty or
// a bare file name starts in the folder of the last file chosen here, else in the user's documents folder.
// `chosenFilter`, when given, gets the filter the user left selected.
QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& startPath, const QString& filter,
                       QString* chosenFilter = nullptr);

// The folder the next save dialog starts in when it is given none.
QString DefaultSaveFolder();
