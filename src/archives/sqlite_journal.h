#pragma once
// How an SQLite archive database keeps its journal, chosen by the file system the file lives on.
//
// On a local file system: the write-ahead log with synchronous=NORMAL. Readers (the trends page, a
// second program) read while a collector writes and a writer's commit waits for no reader; a commit
// waits for the disk once, at checkpoints, instead of at every commit. A killed program loses nothing
// committed; a power cut may lose the last commits, which the meter still holds and the next run reads
// again.
//
// On a network file system (NFS, SMB/CIFS, as statfs names them) the rollback journal stays: the
// write-ahead log needs memory shared between the programs that have the file open, which a network
// file system does not give. A file made elsewhere in WAL mode is turned back to the rollback journal.

#include <QSqlDatabase>
#include <QString>

enum class SqliteJournal { kWriteAheadLog, kRollback };

// By statfs's f_type of the file system.
SqliteJournal JournalForFileSystem(long fileSystemType);
// For a database file at `path` (its folder is looked at, so the file need not exist yet); the
// write-ahead log when the file system cannot be told.
SqliteJournal JournalForPath(const QString& path);

// Sets the journal on a connection just opened. Best effort: a file another program holds locked
// keeps its journal for now (the next connection tries again), which loses nothing.
void SetSqliteJournal(QSqlDatabase& database, SqliteJournal journal);
