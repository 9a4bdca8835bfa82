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

// True for the folders a package installs programs into (/usr, /opt, /bin, /sbin, /lib and below). The
// program never keeps its files there, not even when it runs as root and could.
bool IsSystemProgramFolder(const QString& folder);

// `programFolder` when it is writable and not a system folder, else `fallback`.
QString PortableFolderOr(const QString& programFolder, const QString& fallback);

// The user's folders of the installed programs, shared by zt5-configurator and zt5ctl so that both
// see one settings file and one node base: ~/.config/zt5-configurator and ~/.local/share/zt5-configurator
// (or where XDG_CONFIG_HOME and XDG_DATA_HOME say).
QString UserConfigFolder();
QString UserDataFolder();
