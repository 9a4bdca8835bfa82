#include "cli/cli_application.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstring>

namespace {

// Qt warns on stderr when a GUI application starts without a runtime folder (a cron job, a service),
// and then uses its own in the temporary folder: named here, the warning goes.
void NameRuntimeFolder()
{
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        return;
    const QString folder = QDir::tempPath() + QStringLiteral("/runtime-")
        + qEnvironmentVariable("USER", QStringLiteral("zt5"));
    if (QDir().mkpath(folder) && QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
}

}  // namespace

std::unique_ptr<QCoreApplication> MakeCliApplication(int& argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "statement") == 0) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            NameRuntimeFolder();
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}
