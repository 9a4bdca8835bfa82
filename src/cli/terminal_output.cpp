#include "cli/terminal_output.h"

#include <QMutex>

#include <cstdio>

namespace {

QMutex g_printLock;

void WriteBytes(std::FILE* stream, const QByteArray& bytes)
{
    QMutexLocker lock(&g_printLock);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
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

void PrintError(const QString& text)
{
    Write(stderr, text);
}

void PrintUsageError(const QString& text)
{
    PrintError(QStringLiteral("zt5ctl: %1\nСправка: zt5ctl --help\n").arg(text));
}
