#pragma once
// The report writer: puts a finished HTML body into the report frame (report_template.h), writes it
// through two temporary files in a folder, hands the finished file to the viewer and removes both files
// once the viewer returns.

#include <QIODevice>
#include <QString>

#include "reports/report_host.h"
#include "reports/report_template.h"

// The folder for a report's temporary files: the program's folder when it is writable, else the
// system's temporary folder.
QString DefaultReportFolder();

// A window number no other report of this process uses while it is open, and unlikely to meet one of
// another instance of the program working in the same folder.
quint32 NewReportWindowNumber();

// Writes `body` (lines ending in CR LF) framed by `options` as windows-1251 to the temporary file of
// `windowNumber` in `folder`, shows it through `viewer` and deletes the temporary files. A file that
// cannot be created or written is reported to the viewer, nothing is shown and the result is false;
// no temporary file is left behind then. `log` (optional) gets a trace of every file step.
bool WriteReport(const QString& body, const QString& folder, quint32 windowNumber, QIODevice* log, ReportViewer& viewer,
                 const ReportOptions& options = DefaultReportOptions());
