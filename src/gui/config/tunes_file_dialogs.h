#pragma once
// Opening and saving a settings file from the desktop program: the file dialogs, the folders they start
// in ("Settings\File" "OpenPath" / "SavePath") and the core's file operations. Used by the main window's
// "Файл" menu and the configuration frame's buttons alike.

#include "base/settings_store.h"
#include "config/config_messages.h"
#include "config/device_blocks.h"

class QWidget;

// Asks for a settings file to open; empty when the user cancelled.
QString AskTunesFileToOpen(QWidget* parent, SettingsStore& store);
// Replaces `blocks` with the configuration of `name` and remembers its folder. False when the file could
// not be read (told through `host`); `blocks` and the stored folder then stay as they were. `missing`
// receives what a short file lacked (empty for a whole one).
bool OpenTunesFileAndRemember(const QString& name, SettingsStore& store, ConfigurationBlocks& blocks,
                              ConfigMessageHost& host, QString* missing = nullptr);

// Checks `blocks` (the checks tell the user what is wrong), asks for a file name and writes it. False
// when a check failed, the user cancelled or the file could not be written.
bool SaveTunesFileFromUser(QWidget* parent, SettingsStore& store, ConfigurationBlocks& blocks, ConfigMessageHost& host);
