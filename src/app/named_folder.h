#pragma once
// Folders the user names on the command line (--workdir DIR, the folder of --settings FILE) are made
// on the spot, parents included, instead of being refused as missing: a script can point a run at a
// fresh folder. Folders chosen in the options dialog keep their own checks (work_folder.h).

#include "base/user_message.h"

#include <QString>

// Makes `folder` and any missing parents. True when it is a folder afterwards; otherwise `failure`
// (when given) gets "Невозможно создать папку..." with the system's reason for the part that failed.
bool CreateNamedFolder(const QString& folder, UserMessage* failure);
