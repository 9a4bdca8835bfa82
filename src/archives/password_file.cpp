#include "archives/password_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

constexpr int kKeyFields = 4;

// Whether `field`, taken from `line` at `*pos` up to its ':' (escapes honoured), fits `value`; `*pos` then
// stands after that ':'. False as soon as it cannot fit, or when the line ends before the ':'.
bool FieldFits(const QString& line, qsizetype* pos, const QString& value)
{
    qsizetype at = *pos;
    if (at + 1 < line.size() && line[at] == u'*' && line[at + 1] == u':') {
        *pos = at + 2;
        return true;
    }
    QString field;
    while (at < line.size() && line[at] != u':') {
        if (line[at] == u'\\' && at + 1 < line.size())
            ++at;
        field.append(line[at]);
        ++at;
    }
    if (at >= line.size())
        return false;  // a line with too few fields fits nothing
    *pos = at + 1;
    return field == value;
}

// The password field: the rest of the line with its escapes taken out.
QString PasswordField(const QString& line, qsizetype pos)
{
    QString password;
    for (qsizetype at = pos; at < line.size(); ++at) {
        if (line[at] == u':')
            break;  // a colon the writer did not escape ends the password, as in the library
        if (line[at] == u'\\' && at + 1 < line.size())
            ++at;
        password.append(line[at]);
    }
    return password;
}

}  // namespace

QString PasswordFilePath(const QProcessEnvironment& environment)
{
    const QString given = environment.value(QStringLiteral("PGPASSFILE"));
    if (!given.isEmpty())
        return given;
    const QString home = environment.value(QStringLiteral("HOME"));
    return home.isEmpty() ? QString() : QDir(home).filePath(QStringLiteral(".pgpass"));
}

PasswordFileLookup FindPasswordInFile(const QString& path, const PasswordFileKey& key, QString* password)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return PasswordFileLookup::kNoFile;
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return PasswordFileLookup::kTooOpen;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PasswordFileLookup::kUnreadable;

    const QString host = key.host.isEmpty() || key.host.startsWith(u'/') ? QStringLiteral("localhost") : key.host;
    const QString fields[kKeyFields] = {host, QString::number(key.port), key.database, key.user};
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        qsizetype pos = 0;
        bool fits = true;
        for (int i = 0; i < kKeyFields && fits; ++i)
            fits = FieldFits(line, &pos, fields[i]);
        if (fits) {
            *password = PasswordField(line, pos);
            return PasswordFileLookup::kFound;
        }
    }
    return PasswordFileLookup::kNoLine;
}

QString PasswordFileNote(PasswordFileLookup lookup, const QString& path)
{
    switch (lookup) {
        case PasswordFileLookup::kTooOpen:
            return QStringLiteral(
                       "Файл паролей \"%1\" не используется: его могут читать другие пользователи "
                       "(нужны права 0600: chmod 600 \"%1\").")
                .arg(path);
        case PasswordFileLookup::kUnreadable:
            return QStringLiteral("Файл паролей \"%1\" не удалось прочитать.").arg(path);
        default:
            return {};
    }
}
