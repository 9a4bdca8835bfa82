#include "cli/terminal_output.h"

#include <QMutex>

#include <atomic>

#include <cerrno>
#include <cstdio>

namespace {

QMutex g_printLock;
int g_stdoutError = 0;  // errno of the first write to stdout that failed
std::atomic<bool> g_quiet{false};

constexpr char kProgram[] = "zt5ctl: ";

void WriteBytes(std::FILE* stream, const QByteArray& bytes)
{
    QMutexLocker lock(&g_printLock);
    errno = 0;
    const std::size_t written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    const bool flushed = std::fflush(stream) == 0;
    if ((written != static_cast<std::size_t>(bytes.size()) || !flushed) && stream == stdout && g_stdoutError == 0)
        g_stdoutError = errno != 0 ? errno : EIO;
}

void Write(std::FILE* stream, const QString& text)
{
    WriteBytes(stream, TerminalText(text).toUtf8());
}

}  // namespace

QString TerminalText(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

void PrintOut(const QString& text)
{
    Write(stdout, text);
}

void PrintOutBytes(const QByteArray& bytes)
{
    WriteBytes(stdout, bytes);
}

QString StdoutFailure()
{
    QMutexLocker lock(&g_printLock);
    return g_stdoutError == 0 ? QString() : qt_error_string(g_stdoutError);
}

QString FlushStdout()
{
    {
        QMutexLocker lock(&g_printLock);
        errno = 0;
        if ((std::fflush(stdout) != 0 || std::fclose(stdout) != 0) && g_stdoutError == 0)
            g_stdoutError = errno != 0 ? errno : EIO;
    }
    return StdoutFailure();
}

void PrintError(const QString& text)
{
    Write(stderr, text);
}

void SetQuiet(bool quiet)
{
    g_quiet.store(quiet);
}

bool Quiet()
{
    return g_quiet.load();
}

void PrintNotice(const QString& text)
{
    if (!Quiet())
        PrintError(text);
}

void PrintFailure(const QString& text)
{
    QString line = text.startsWith(QLatin1String(kProgram)) ? text : QLatin1String(kProgram) + text;
    if (!line.endsWith(u'\n'))
        line += u'\n';
    PrintError(line);
}

void RedrawProgressLine(const QString& text)
{
    // Written past TerminalText: its carriage return is what keeps the line in place.
    WriteBytes(stderr, QByteArray("\r") + text.toUtf8() + QByteArray("\x1b[K"));
}

void PrintUsageError(const QString& text)
{
    PrintFailure(QStringLiteral("%1\nСправка: zt5ctl --help").arg(text));
}
