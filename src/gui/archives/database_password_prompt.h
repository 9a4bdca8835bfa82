#pragma once
// Before a command that uses the archive database is queued: when the database is a PostgreSQL server
// and no password is at hand (not in ~/.pgpass, PGPASSWORD or the connection text, not typed this run),
// the user is asked for it once. The answer is kept in memory for the run, never written.

class AppEnvironment;
class QWidget;

// False when the user cancelled: the command is then not to be queued. A database setting that cannot
// be used gives true: the command itself tells the user why.
bool AskDatabasePasswordIfMissing(QWidget* parent, AppEnvironment& environment);
