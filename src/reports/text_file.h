#pragma once
// Writing a whole text file in one go (the exchange monitor's saved logs, for one).

#include <QByteArray>
#include <QString>

#include "reports/report_host.h"

// Writes `text` as windows-1251 to `path`, replacing any file there. The file is replaced only once all
// of it is written, so a failure leaves the earlier file as it was. On failure `owner` (when given) gets
// "Не удалось записать файл "PATH": ERROR" with the system's error text, and the result is false.
bool gWriteTxtFile(const QString& path, const QString& text, MessageSink* owner);

// The same for bytes already encoded; `doing` says what failed in the message ("записать копию отчета").
bool WriteWholeFile(const QString& path, const QByteArray& bytes, MessageSink* owner, const char* doing);

// "Не удалось DOING "PATH": ERROR": a file operation that failed, in words, the system's reason last.
QString FileFailureText(const char* doing, const QString& path, const QString& error);
