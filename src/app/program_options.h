#pragma once
// The program-wide options ("Параметры"): where the service files (node base, help) are kept.

#include "base/settings_store.h"

#include <QString>

struct ProgramOptions {
    int useWorkFolder = 1;   // non-zero: the service files live in the program's own folder
    QString workFolderPath;  // the folder used otherwise

    bool UsesProgramFolder() const { return useWorkFolder != 0; }
};

ProgramOptions ReadProgramOptions(SettingsStore& store);
// Writes both keys in one go; false when the file could not be written.
bool WriteProgramOptions(SettingsStore& store, const ProgramOptions& options);
