#pragma once
// The password file of the PostgreSQL client library, read the way the library reads it, so that the
// programs know before connecting whether a password is at hand:
//
//   # host:port:database:user:password      (one server a line, the first line that fits wins)
//   db.local:5432:archives:meter:s3cr\:et    ("\:" is a colon, "\\" a backslash inside a field)
//   *:*:*:meter:other                         ("*" fits anything in the first four fields)
//
// The file is PGPASSFILE, else ".pgpass" in the home folder. Like the library, a file the group or
// others may read is not used at all: a password in it is no longer a secret.

#include <QProcessEnvironment>
#include <QString>

// Where the library looks for the file under `environment`; empty when there is no home folder.
QString PasswordFilePath(const QProcessEnvironment& environment);

enum class PasswordFileLookup {
    kFound,
    kNoLine,      // the file is there, no line fits
    kNoFile,      // missing, or not a plain file
    kTooOpen,     // the group or others may read it: not used
    kUnreadable,  // there but it cannot be read
};

struct PasswordFileKey {
    QString host;  // empty or a socket folder ("/run/postgresql") counts as "localhost"
    int port = 5432;
    QString database;
    QString user;
};

// Looks `key` up in the file at `path`; the password of the first fitting line goes to `password`.
PasswordFileLookup FindPasswordInFile(const QString& path, const PasswordFileKey& key, QString* password);

// Why a password file found at `path` was not used, in the user's words; empty when nothing is to be said
// (found, or no line for this server).
QString PasswordFileNote(PasswordFileLookup lookup, const QString& path);
