#include "app/named_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>
#include <cerrno>

namespace {

// One mkdir per missing level, top down, so the failing level's errno is the one reported
// (QDir::mkpath keeps the reason to itself). A file in the way shows as the system's "Not a
// directory" from the level below it, or "File exists" when it stands where the folder should.
bool MakeLevels(const QString& folder, QString* reason)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    QString path;
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        path += QLatin1Char('/') + part;
        if (QFileInfo::exists(path))
            continue;
        if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST) {
            *reason = qt_error_string(errno);
            return false;
        }
    }
    if (QFileInfo(clean).isDir())
        return true;
    *reason = qt_error_string(EEXIST);
    return false;
}

}  // namespace

bool CreateNamedFolder(const QString& folder, UserMessage* failure)
{
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return true;
    QString reason = qt_error_string(ENOENT);
    if (!folder.isEmpty() && MakeLevels(folder, &reason))
        return true;
    if (failure)
        *failure = UserMessage::Error(QStringLiteral("Невозможно создать папку настроек \"%1\"!\r\n(%2)!")
                                          .arg(QDir::toNativeSeparators(folder), reason));
    return false;
}
