#include "app/app_environment.h"

#include "app/named_folder.h"

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
{
}

AppEnvironment::AppEnvironment(const QString& settingsFile, WorkFolder workFolder)
    : m_settings(settingsFile), m_workFolder(std::move(workFolder))
{
}

bool AppEnvironment::LoadNodeBase(NodeBase& base, UserMessage* failure)
{
    const ProgramOptions options = Options();
    if (!m_workFolder.Check(options, failure)) {
        base.Clear();
        return false;
    }
    return base.Load(m_workFolder.Path(options), failure);
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
