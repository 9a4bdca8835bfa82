#pragma once
// The port table between runs: section "Settings\Ports" of the settings store, one key per COM
// number ("COM3=/dev/serial/by-id/usb-...-port0"). Keys that do not name a number 1..32 are ignored.

#include "base/settings_store.h"
#include "channel/port_table.h"

// Replaces `table` with what the store holds.
void LoadPortTable(const SettingsStore& store, PortTable& table);
// Replaces the stored table with `table`; false when the file could not be written.
bool SavePortTable(SettingsStore& store, const PortTable& table);

// Start-up: the stored table, plus a number for each serial device seen for the first time in
// `deviceFolder` (/dev), stored again when that added any. False when the store could not be written.
bool RefreshPortTable(SettingsStore& store, PortTable& table, const QString& deviceFolder = QStringLiteral("/dev"));
// While the program runs (a window showing ports opens): devices plugged in since the last look get the
// lowest free numbers, known ones keep theirs; the table in use is stored when that added any. False
// when the store could not be written.
bool RescanPortTable(SettingsStore& store, PortTable& table, const QString& deviceFolder = QStringLiteral("/dev"));
