#include "cli/output_file.h"

#include "base/atomic_file.h"
#include "base/file_name_rules.h"
#include "cli/terminal_output.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// Something there that is not a regular file: a FIFO, a terminal, /dev/null.
bool IsSpecialFile(const QString& name)
{
    struct stat status {};
    return ::stat(QFile::encodeName(name).constData(), &status) == 0 && !S_ISREG(status.st_mode)
        && !S_ISDIR(status.st_mode);
}

// "rep.html", "a.b.c": a dot inside the file part; ".hidden" and "name." have none.
bool HasExtension(const QString& name)
{
    const QString file = name.mid(LastPathSeparator(name) + 1);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && dot < file.size() - 1;
}

}  // namespace

bool IsStdoutName(const QString& name)
{
    return name == QLatin1String("-");
}

QString OutputFileName(const QString& given, const QString& extension)
{
    if (IsStdoutName(given) || HasExtension(given) || IsSpecialFile(given))
        return given;
    return given + QLatin1Char('.') + extension;
}

bool WriteOutputFile(const QString& name, const QByteArray& bytes, QString* error)
{
    if (IsStdoutName(name)) {
        PrintOutBytes(bytes);
        return true;
    }
    if (!IsSpecialFile(name))
        return ReplaceFileContents(name, bytes, error);
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteWhole(file, bytes.constData(), bytes.size()))
        return true;
    *error = file.errorString();
    return false;
}
