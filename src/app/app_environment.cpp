#include "app/app_environment.h"

AppEnvironment::AppEnvironment(const StartupOverrides& overrides)
    : AppEnvironment(SettingsStore::LocateFile(overrides.settingsFile), WorkFolder::ForThisProgram(overrides.workFolder))
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
