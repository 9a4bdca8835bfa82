#include "base/app_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
constexpr char kUserFolderName[] = "zt5-configurator";
}  // namespace

QString ProgramFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

bool IsWritableFolder(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".zt5-write-probe-XXXXXX")));
    return probe.open();
}

bool IsSystemProgramFolder(const QString& folder)
{
    const QString path = QDir::cleanPath(folder);
    for (const char* root : {"/usr", "/opt", "/bin", "/sbin", "/lib", "/lib64"}) {
        const QString prefix = QLatin1String(root);
        if (path == prefix || path.startsWith(prefix + QLatin1Char('/')))
            return true;
    }
    return false;
}

QString PortableFolderOr(const QString& programFolder, const QString& fallback)
{
    return !IsSystemProgramFolder(programFolder) && IsWritableFolder(programFolder) ? programFolder : fallback;
}

QString UserConfigFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QLatin1String(kUserFolderName));
}

QString UserDataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QLatin1String(kUserFolderName));
}
