#pragma once
// The temporary files of a report and their trace. Each step can be written to an optional log (any open
// device; lines in windows-1251, ending in CR LF). A failure goes to `owner` as a message when one is
// given, and into the log either way.

#include <QFile>
#include <QIODevice>
#include <QString>

#include "reports/report_host.h"

enum class ReportTempPart { Finished = 0, Body = 1 };

// "FOLDER/XXXXXXXX_2_N.tmp": the window number in eight upper-case hex digits, N 0 for the finished
// file and 1 for the body. Reports open at the same time must have different window numbers.
QString ReportTempName(const QString& folder, quint32 windowNumber, ReportTempPart part);

// Removes the temporary report files in `folder` that a process no longer running left behind (one
// killed while writing or showing a report): only names of the pattern above, and only those whose
// window number carries the id of a process that is gone. Returns how many were removed.
int RemoveStaleReportTempFiles(const QString& folder);

// Creates or truncates `path` for reading and writing in `file`, closing whatever `file` still had open.
bool gOpenTempFile(QFile& file, const QString& path, QIODevice* log, MessageSink* owner);

// Closes `file` if it is open. Always true.
bool gCloseTempFile(QFile& file, QIODevice* log);

// Closes `file`, then removes `path` when it names a file (a folder is left alone). A path already gone
// is fine; a file that cannot be removed stays and the call returns false.
bool gDeleteTempFile(const QString& path, QIODevice* log, MessageSink* owner, QFile& file);
