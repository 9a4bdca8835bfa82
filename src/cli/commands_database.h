#pragma once
// export-db: the meter's whole archive into the archive database; the database the archive commands use.

#include <QString>

class CliContext;
struct DatabaseTarget;

int RunExportDb(CliContext& context);

// The database --database names, or else the one the settings name; false with the reason.
bool ChosenCliDatabase(CliContext& context, DatabaseTarget* target, QString* error);
