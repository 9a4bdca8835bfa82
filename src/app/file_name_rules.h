#pragma once
// How the save dialogs' chosen names are completed.

#include <QString>

// Position of the last '/' or '\\' in `name`, or -1.
qsizetype LastPathSeparator(const QString& name);

// `name` with every ".EXTENSION" removed from its file part (after the last separator) and one appended:
// "a.xls.xls" and "a" both become "a.xls". The comparison is case-sensitive.
QString WithSingleExtension(const QString& name, const QString& extension);
