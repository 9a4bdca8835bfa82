#pragma once
// What every program of the system settles before its first window or command: the settings store,
// the work folder the options name, and the node base in it. The desktop program and zt5ctl both
// start here; `--settings FILE` and `--workdir DIR` arrive as overrides.

#include "app/program_options.h"
#include "app/session_secrets.h"
#include "app/work_folder.h"
#include "base/settings_store.h"
#include "base/user_message.h"
#include "nodes/node_base.h"

#include <QString>

#include <functional>

struct StartupOverrides {
    QString settingsFile;  // --settings FILE
    QString workFolder;    // --workdir DIR
};

class AppEnvironment {
public:
    // The store and folders of this program (next to the executable, or the user's own folders).
    explicit AppEnvironment(const StartupOverrides& overrides = {});
    AppEnvironment(const QString& settingsFile, WorkFolder workFolder);

    // Why the folder of `--settings FILE` could not be made (empty when it is there): the store then
    // keeps its values for this run only, and the program tells the user once at start.
    const UserMessage& SettingsFolderFailure() const { return m_settingsFolderFailure; }

    SettingsStore& Settings() { return m_settings; }
    // Passwords typed during this run; never written to the store.
    SessionSecrets& Secrets() { return m_secrets; }
    const WorkFolder& Folder() const { return m_workFolder; }
    ProgramOptions Options() { return ReadProgramOptions(m_settings); }
    QString WorkFolderPath() { return m_workFolder.Path(Options()); }
    // The work folder's "reports" folder, where the program offers to save its reports; made when
    // missing (the work folder itself when it cannot be).
    QString ReportsFolderPath();

    // The work-folder check, then the base in it; false with the message to show on failure.
    bool LoadNodeBase(NodeBase& base, UserMessage* failure);
    // The same, and when the base file is damaged the question is put through `offerFreshBase`
    // (a Yes/No message): Yes keeps the damaged file aside and starts an empty base, No leaves everything
    // as it is and returns false with an empty `failure` (the user has read the damage already).
    using FreshBaseQuestion = std::function<bool(const UserMessage& question)>;
    bool LoadNodeBase(NodeBase& base, UserMessage* failure, const FreshBaseQuestion& offerFreshBase);
    bool SaveNodeBase(const NodeBase& base, UserMessage* failure);
    // The node called `name` (zt5ctl --node NAME): the base is loaded and searched.
    bool FindNode(const QString& name, NodeEntry* found, UserMessage* failure);

private:
    UserMessage m_settingsFolderFailure;  // before m_settings: filled while its file is located
    SettingsStore m_settings;
    WorkFolder m_workFolder;
    SessionSecrets m_secrets;
};
