#include "archives/ui/runner_support.h"

#include "app/app_environment.h"
#include "archives/database_choice.h"

ArchiveExportExtension::TargetSource ConfiguredTargetSource(AppEnvironment& environment)
{
    return [&environment](DatabaseTarget* target, QString* error) {
        DatabaseChoice choice;
        if (!ChooseArchiveDatabase(environment, {}, &choice, error))
            return false;
        *target = choice.target;
        return true;
    };
}
