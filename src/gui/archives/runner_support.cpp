#include "gui/archives/runner_support.h"

#include "app/app_environment.h"
#include "app/database_choice.h"
#include "archives/database_check.h"

ArchiveExportExtension::TargetSource ConfiguredTargetSource(AppEnvironment& environment)
{
    return [&environment](DatabaseTarget* target, QString* error) {
        DatabaseChoice choice;
        if (!ChooseArchiveDatabase(environment, {}, &choice, error))
            return false;
        // A password typed this run is tried first: one the server refuses is forgotten, so that the
        // next command asks for it again instead of failing the same way for the rest of the run.
        if (choice.passwordOrigin == PasswordOrigin::kTypedThisRun) {
            const DatabaseCheckResult check = CheckDatabaseConnection(choice.target);
            if (!check.usable) {
                if (check.passwordRefused)
                    environment.Secrets().Forget(PasswordKey(choice.target));
                *error = check.text;
                return false;
            }
        }
        *target = choice.target;
        return true;
    };
}
