#pragma once
// The work folder holds the program's service files: the node base in its "Base" sub-folder and
// the help. The options name it: the program's own folder, or a folder of the user's choice.
// On this system the program's own folder is the executable's folder when that is writable, else the
// user's data folder; `--workdir DIR` replaces both choices.

#include "app/program_options.h"
#include "base/user_message.h"

#include <QString>

class WorkFolder {
public:
    static constexpr const char* kBaseFolderName = "Base";

    // `defaultFolder` stands for the program's own folder; `overrideFolder` (--workdir) wins when given.
    explicit WorkFolder(QString defaultFolder, QString overrideFolder = {});
    // The program folder or, when it is not writable or a system folder, UserDataFolder().
    static WorkFolder ForThisProgram(const QString& overrideFolder = {});

    // What the options dialog shows for "Использовать рабочий каталог программы".
    const QString& DefaultFolder() const { return m_defaultFolder; }
    QString Path(const ProgramOptions& options) const;
    QString BaseFolder(const ProgramOptions& options) const;

    // Makes sure the work folder is usable: a folder chosen in the options must exist and be a folder,
    // a missing --workdir folder is created with its parents; the "Base" folder is created when missing. On failure `failure` gets the message to show (a silent
    // caller drops it).
    bool Check(const ProgramOptions& options, UserMessage* failure) const;

private:
    const QString m_defaultFolder;
    const QString m_overrideFolder;
};
