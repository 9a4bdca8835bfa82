#pragma once
// The file a command's -o names. A name whose file part has no extension gets the command's; a name
// with one is used as given, whatever its folder part. "-" is stdout. A FIFO or a device already there
// is written to as it is (a temporary file renamed over it would replace it); a regular file is
// replaced whole, so a failed write leaves the old one.

#include <QByteArray>
#include <QString>

// True for "-".
bool IsStdoutName(const QString& name);

// `given` as the file to write: with ".EXTENSION" appended when its file part has none and it names
// nothing but a regular file or nothing at all.
QString OutputFileName(const QString& given, const QString& extension);

// The bytes as the whole of the output `name` (an OutputFileName). False with the system's words in
// `error` when the writing failed; a failed write to stdout is told at the end of the run.
bool WriteOutputFile(const QString& name, const QByteArray& bytes, QString* error);
