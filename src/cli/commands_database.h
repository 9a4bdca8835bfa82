#pragma once
// export-db: the meter's whole archive into the archive database; the database the archive commands use.

#include "archives/archive_export_extension.h"
#include "protocol/driver_commands.h"

#include <QString>

class CliContext;
class CommandExtensions;
class DriverSession;
struct DatabaseTarget;

int RunExportDb(CliContext& context);

// The database --database names, or else the one the settings name (ChooseArchiveDatabase: the
// PostgreSQL password from the text, PGPASSWORD or the password file); false with the reason told and
// `exitCode` set: a usage error, or a file error for an SQLite file named in a folder that is not there
// (only the work folder's own db/ folder is made).
bool ChosenCliDatabase(CliContext& context, DatabaseTarget* target, int* exitCode);
// The database source that always names `target`.
ArchiveExportExtension::TargetSource FixedDatabase(const DatabaseTarget& target);
// Runs one command with `extension` as the driver's extensions for its length.
bool RunWithExtension(DriverSession& session, CommandExtensions& extension, DriverCommand code);
