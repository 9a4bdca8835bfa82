#include "app/app_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

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

QString PortableFolderOr(const QString& programFolder, const QString& fallback)
{
    return IsWritableFolder(programFolder) ? programFolder : fallback;
}
