#pragma once
// How the save dialogs' chosen names are completed.

#include <QString>
#include <QStringList>

// Position of the last '/' or '\\' in `name`, or -1.
qsizetype LastPathSeparator(const QString& name);

// `name` with every ".EXTENSION" removed from its file part (after the last separator) and one appended:
// "a.xls.xls" and "a" both become "a.xls". The comparison is case-sensitive.
QString WithSingleExtension(const QString& name, const QString& extension);

// `name` kept as it is when its file part already ends in one of `extensions` (compared without regard
// to case), else with the first of them appended once: "trend.html" stays, "trend" becomes "trend.xls".
QString WithKnownExtension(const QString& name, const QStringList& extensions);
