#pragma once
// Where the program keeps its files. Like the portable program it replaces, it keeps them next to the
// executable; when that folder is not writable (an installed program) the user's own folders take
// their place.

#include <QString>

// The folder of the running executable, without a trailing separator.
QString ProgramFolder();

// True when a file can be created in `folder`. Tried, not guessed from mode bits, so read-only
// mounts and access lists count too.
bool IsWritableFolder(const QString& folder);

// `programFolder` when it is writable, else `fallback`.
QString PortableFolderOr(const QString& programFolder, const QString& fallback);
