#include "app/program_options.h"

#include "base/setting_value.h"
#include "base/settings_sections.h"

namespace {

struct ProgramOptionKeys {
    explicit ProgramOptionKeys(SettingsStore& store) : section(store, SettingsSections::kProgram) {}

    SettingsSection section;
    SettingValue<int> useWorkFolder = section.Value(QStringLiteral("UseWorkFolder"), 1);
    SettingValue<QString> workFolderPath = section.Value(QStringLiteral("WorkFolderPath"), QString());
};

}  // namespace

ProgramOptions ReadProgramOptions(SettingsStore& store)
{
    const ProgramOptionKeys keys(store);
    return ProgramOptions{keys.useWorkFolder.Get(), keys.workFolderPath.Get()};
}

bool WriteProgramOptions(SettingsStore& store, const ProgramOptions& options)
{
    const ProgramOptionKeys keys(store);
    SettingsStore::Batch batch(store);
    keys.useWorkFolder.Set(options.useWorkFolder);
    keys.workFolderPath.Set(options.workFolderPath);
    return batch.Commit();
}
