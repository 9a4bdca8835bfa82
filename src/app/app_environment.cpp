#include "app/app_environment.h"

#include "app/named_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// The store's file; the folder of a --settings file is made first when it is missing.
QString SettingsFileMadeReady(const QString& overrideFile, UserMessage* failure)
{
    if (!overrideFile.isEmpty())
        CreateNamedFolder(QFileInfo(overrideFile).absolutePath(), failure);
    return SettingsStore::LocateFile(overrideFile);
}

}  // namespace

AppEnvironment::AppEnvironment(const StartupOverrides& overrides)
    : m_settingsFolderFailure(),
      m_settings(SettingsFileMadeReady(overrides.settingsFile, &m_settingsFolderFailure)),
      m_workFolder(WorkFolder::ForThisProgram(overrides.workFolder))
{}

AppEnvironment::AppEnvironment(const QString& settingsFile, WorkFolder workFolder)
    : m_settings(settingsFile), m_workFolder(std::move(workFolder))
{}

bool AppEnvironment::LoadNodeBase(NodeBase& base, UserMessage* failure)
{
    const ProgramOptions options = Options();
    if (!m_workFolder.Check(options, failure)) {
        base.Clear();
        return false;
    }
    return base.Load(m_workFolder.Path(options), failure);
}

bool AppEnvironment::LoadNodeBase(NodeBase& base, UserMessage* failure, const FreshBaseQuestion& offerFreshBase)
{
    UserMessage damage;
    if (LoadNodeBase(base, &damage))
        return true;
    if (!base.LastLoadFoundDamage() || !offerFreshBase) {
        if (failure)
            *failure = damage;
        return false;
    }
    // The damaged file is never overwritten: it is kept under a name of its own, or left alone.
    const QString kept = NodeBase::DamagedFileName(QDateTime::currentDateTime());
    const UserMessage question{
        damage.text
            + QStringLiteral(
                  "\n\nСохранить поврежденный файл под именем \"%1\" и начать новую пустую базу узлов учета?")
                  .arg(kept),
        QString::fromUtf8(kCaptionQuestion), MessageStyle::kIconQuestion | MessageStyle::kYesNo};
    if (!offerFreshBase(question)) {
        if (failure)
            *failure = {};
        return false;
    }
    const ProgramOptions options = Options();
    return NodeBase::SetDamagedFileAside(m_workFolder.Path(options), kept, failure) && LoadNodeBase(base, failure);
}

bool AppEnvironment::SaveNodeBase(const NodeBase& base, UserMessage* failure)
{
    const ProgramOptions options = Options();
    return m_workFolder.Check(options, failure) && base.Save(m_workFolder.Path(options), failure);
}

bool AppEnvironment::FindNode(const QString& name, NodeEntry* found, UserMessage* failure)
{
    NodeBase base;
    if (!LoadNodeBase(base, failure))
        return false;
    const int index = base.FindByName(name);
    if (index < 0) {
        if (failure)
            *failure = UserMessage::Information(QStringLiteral("Узел учета \"%1\" не найден!").arg(name));
        return false;
    }
    if (found)
        *found = base.At(index);
    return true;
}

QString AppEnvironment::ReportsFolderPath()
{
    const QString work = WorkFolderPath();
    const QString reports = QDir(work).filePath(QStringLiteral("reports"));
    return QDir().mkpath(reports) ? reports : work;
}
