#include "app/work_folder.h"

#include "app/named_folder.h"
#include "base/app_location.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <cerrno>

namespace {

// mkdir itself, for the system's reason when it fails (QDir keeps that to itself).
bool MakeFolder(const QString& path, QString* reason)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return true;
    *reason = qt_error_string(errno);
    return false;
}

}  // namespace

WorkFolder::WorkFolder(QString defaultFolder, QString overrideFolder)
    : m_defaultFolder(std::move(defaultFolder)), m_overrideFolder(std::move(overrideFolder))
{}

WorkFolder WorkFolder::ForThisProgram(const QString& overrideFolder)
{
    return WorkFolder(PortableFolderOr(ProgramFolder(), UserDataFolder()), overrideFolder);
}

QString WorkFolder::Path(const ProgramOptions& options) const
{
    if (!m_overrideFolder.isEmpty())
        return m_overrideFolder;
    return options.UsesProgramFolder() ? m_defaultFolder : options.workFolderPath;
}

QString WorkFolder::BaseFolder(const ProgramOptions& options) const
{
    return QDir(Path(options)).filePath(QString::fromLatin1(kBaseFolderName));
}

bool WorkFolder::Check(const ProgramOptions& options, UserMessage* failure) const
{
    const QString folder = Path(options);
    const bool named = !m_overrideFolder.isEmpty() || !options.UsesProgramFolder();
    // A folder named on the command line is made when missing; one stored in the options must exist.
    if (!m_overrideFolder.isEmpty() && !QFileInfo::exists(m_overrideFolder)
        && !CreateNamedFolder(m_overrideFolder, failure))
        return false;
    if (named) {
        const QFileInfo info(folder);
        const QString shown = QDir::toNativeSeparators(folder);
        if (folder.isEmpty() || !info.exists()) {
            if (failure)
                *failure = UserMessage::Information(
                    QStringLiteral("Указанная папка \"%1\" для сохранения служебной информации не найдена!")
                        .arg(shown));
            return false;
        }
        if (!info.isDir()) {
            if (failure)
                *failure = UserMessage::Information(
                    QStringLiteral("Указанная папка \"%1\" для сохранения служебной информации не найдена!!")
                        .arg(shown));
            return false;
        }
    } else {
        // The user's data folder of a fresh account may not exist yet; a failure shows below.
        QDir().mkpath(folder);
    }
    const QString base = BaseFolder(options);
    if (QFileInfo(base).isDir())
        return true;
    // A file named "Base" is left alone: creating the folder fails and says so.
    QString reason;
    if (MakeFolder(base, &reason))
        return true;
    if (failure)
        *failure = UserMessage::Error(QStringLiteral("Невозможно создать папку настроек \"%1\"!\r\n(%2)!")
                                          .arg(QDir::toNativeSeparators(base), reason));
    return false;
}
