#pragma once
// Which archive database the user means: one answer for the desktop program (the archives and trends
// pages) and for zt5ctl. The connection text given on the command line (--database) comes first, then
// the one the settings keep ("Settings\Database", "Connection"), then the work folder's SQLite file.
//
// The settings never get a password. A PostgreSQL server's password is taken, first found first, from
// the connection text itself (an older settings file may carry one: it is still used), from what the
// user typed during this run, from PGPASSWORD, from the client library's password file (~/.pgpass or
// PGPASSFILE). With none of these the server is asked without one, which suits servers that trust
// the user; the desktop program asks the user first (once a run).

#include "archives/database_target.h"

#include <QProcessEnvironment>
#include <QString>

class AppEnvironment;
class SessionSecrets;
class SettingsStore;

enum class PasswordOrigin {
    kNotNeeded,       // an SQLite file
    kConnectionText,  // written in the connection text
    kTypedThisRun,
    kEnvironment,  // PGPASSWORD
    kPasswordFile,
    kNone,
};

struct DatabaseChoice {
    DatabaseTarget target;  // with the password when one was found
    PasswordOrigin passwordOrigin = PasswordOrigin::kNotNeeded;
    QString passwordFile;  // the file looked in
    QString passwordNote;  // why the password file was passed over, for the user; usually empty
};

// Where passwords may come from besides the connection text.
struct PasswordSources {
    QString environmentPassword;  // PGPASSWORD; empty counts as none, as for the library
    QString passwordFile;
    const SessionSecrets* typed = nullptr;

    // This process's PGPASSWORD and password file, and what was typed this run into `typed`.
    static PasswordSources OfProcess(const SessionSecrets* typed,
                                     const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
};

// The database `givenText` names, or the stored one, or the default file; false with the reason when
// the text does not parse.
bool ChooseArchiveDatabase(SettingsStore& store, const QString& workFolder, const QString& givenText,
                           const PasswordSources& sources, DatabaseChoice* choice, QString* error);
// The same with this program's settings, work folder, typed passwords and environment. Both programs
// call this one.
bool ChooseArchiveDatabase(AppEnvironment& environment, const QString& givenText, DatabaseChoice* choice,
                           QString* error);

// Fills the password of a PostgreSQL choice whose connection text has none, from `sources`.
void FindDatabasePassword(const PasswordSources& sources, DatabaseChoice* choice);

// The name a typed password is remembered under: the server, port, user and database.
QString PasswordKey(const DatabaseTarget& target);

// Writes the choice into the settings, never with its password. The work folder's own file is stored as
// no choice at all, so it moves with the work folder. False when the file could not be written.
bool StoreArchiveDatabase(SettingsStore& store, const QString& workFolder, const DatabaseTarget& target);
// The connection text the settings keep for `target`: without the password, names percent-encoded.
QString StoredConnectionText(const DatabaseTarget& target);

// "из файла паролей ~/.pgpass" and the like: where the password comes from, for the user.
QString PasswordOriginText(const DatabaseChoice& choice);
