#pragma once
// "Проверить соединение": tries the archive database a user is setting up and says what is wrong in
// the user's words, with the engine's own text under it. A server that does not answer is given up
// after the connect time-out of every archive database connection (a few seconds). Nothing is created:
// an SQLite file that is not there yet is only looked for, and the tables are only looked for.
//
// Runs on any thread: the connection is made, used and removed inside the call.

#include "archives/database_target.h"

#include <QString>

struct DatabaseCheckResult {
    bool usable = false;
    bool passwordRefused = false;  // the server said the password is wrong
    QString text;
};

DatabaseCheckResult CheckDatabaseConnection(const DatabaseTarget& target);

// What a failed connection to `target` means for the user, from the engine's words.
QString ExplainConnectionFailure(const DatabaseTarget& target, const QString& engineText);
