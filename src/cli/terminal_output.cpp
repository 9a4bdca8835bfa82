#include "cli/terminal_output.h"

#include <QMutex>

#include <cstdio>

namespace {

QMutex g_printLock;

void Write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = TerminalText(text).toUtf8();
    QMutexLocker lock(&g_printLock);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

QString TerminalText(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

void PrintOut(const QString& text) { Write(stdout, text); }

void PrintError(const QString& text) { Write(stderr, text); }

void PrintUsageError(const QString& text)
{
    PrintError(QStringLiteral("zt5ctl: %1\nСправка: zt5ctl --help\n").arg(text));
}
