#pragma once
// What zt5ctl writes: the requested output alone on stdout, the system's messages (and, with -v, the
// exchange monitor) on stderr. Texts are UTF-8; the CR LF line ends of the system's texts become the
// terminal's LF. Safe to call from the driver's threads.

#include <QByteArray>
#include <QString>

// The text as the terminal wants it: CR LF (and a lone CR) become LF.
QString TerminalText(const QString& text);

void PrintOut(const QString& text);
// A file's bytes as they are (a CSV with its byte-order mark, a windows-1251 page), nothing converted.
void PrintOutBytes(const QByteArray& bytes);
// The system's words for the first write to stdout that failed (a full disk, the file-size limit), or
// empty while none has.
QString StdoutFailure();
// Flushes and closes stdout (a file on a full disk tells only then) and returns StdoutFailure.
QString FlushStdout();
void PrintError(const QString& text);
// -q: progress and warnings stay off stderr; errors still go there.
void SetQuiet(bool quiet);
bool Quiet();
// A warning or a line of progress: on stderr unless -q.
void PrintNotice(const QString& text);
// An error: "zt5ctl: <text>" on a line of its own, whatever -q says.
void PrintFailure(const QString& text);
// Draws the terminal's one progress line again in place: back to its start, the text, the rest of the
// line cleared (a shorter text leaves nothing of the longer one behind).
void RedrawProgressLine(const QString& text);
// "zt5ctl: <text>" and the hint where the help is, for usage errors.
void PrintUsageError(const QString& text);
