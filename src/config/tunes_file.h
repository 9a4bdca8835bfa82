#pragma once
// Saving the configuration to a settings file and opening one. The dialogs and the remembered folders
// belong to the caller; failures are told through the message host.

#include <QDateTime>
#include <QString>

#include "config/config_messages.h"
#include "config/device_blocks.h"

inline constexpr const char* kTunesFileExtension = "zt5";

// A name with a folder part gets exactly one ".zt5" at the end of its file part ("b.zt5.zt5" and "b"
// both become "b.zt5"); a bare name is used as typed.
QString NormaliseTunesFileName(const QString& name);

// The folder part of a name (everything before the last separator), as remembered for the next dialog.
QString TunesFileFolder(const QString& name);

// Writes the configuration under the normalised `name`. The file is replaced only once it is complete,
// so a failed save leaves any earlier file as it was. `savedAs` receives the name written.
bool SaveTunesFile(const QString& name, const ConfigurationBlocks& blocks, ConfigMessageHost& host,
                   QString* savedAs = nullptr, const QDateTime& savedAt = QDateTime::currentDateTime());

// Replaces `blocks` with the configuration of a settings file of either form. A file that cannot be
// read or is too short to be a settings file is refused with a message and `blocks` stay as they were;
// a file cut short after its header is read as far as it goes, with a notice. `missing` (when given)
// receives what such a file lacked ("блок управления (52 байт из 64)"), empty for a whole file: the
// settings it lacked are zeros, not the meter's, and must not be written to a meter unasked.
bool OpenTunesFile(const QString& name, ConfigurationBlocks& blocks, ConfigMessageHost& host,
                   QString* missing = nullptr);
