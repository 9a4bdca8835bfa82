#include "archives/ui/runner_support.h"

#include "app/app_environment.h"
#include "archives/database_target.h"

ArchiveExportExtension::TargetSource ConfiguredTargetSource(AppEnvironment& environment)
{
    return [&environment](DatabaseTarget* target, QString* error) {
        return ConfiguredDatabaseTarget(environment.Settings(), environment.WorkFolderPath(), target, error);
    };
}
