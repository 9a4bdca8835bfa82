#pragma once
// Replacing a whole file so that no failure can leave half of it: the bytes go to a temporary file in
// the same folder, which is flushed to the disk and only then renamed over the old one (the folder is
// flushed too, so the new name survives a power cut). Until the rename the old file stays as it was;
// a failure removes the temporary file. Every file a user would hate to lose is written through here:
// the settings store, the node base, settings files, saved reports and the exchange monitor's logs.

#include <QByteArray>
#include <QString>

class QFileDevice;

// True once `bytes` are the file's contents. On failure `error` (when given) gets the system's words
// for what went wrong ("Permission denied", "File too large", ...).
bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Writes all `size` bytes to a file opened unbuffered. The system may take a write only in part (the
// disk fills up, the file-size limit is reached) without an error; the rest is written again, so that
// the failure that follows is the one `file.errorString()` tells ("No space left on device", ...).
bool WriteWhole(QFileDevice& file, const char* data, qint64 size);
