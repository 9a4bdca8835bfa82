// zt5ctl: the command line over the configurator's core.

#include "base/file_size_signal.h"
#include "cli/cli_application.h"
#include "cli/cli_context.h"
#include "cli/cli_main.h"
#include "cli/exit_status.h"
#include "cli/interrupt.h"
#include "cli/terminal_output.h"

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    const std::unique_ptr<QCoreApplication> app = MakeCliApplication(argc, argv);
    QStringList arguments = app->arguments();
    arguments.removeFirst();
    const int code = RunCli(arguments);
    // A result the system would not take is no result.
    const QString failure = FlushStdout();
    if (!failure.isEmpty())
        PrintError(QStringLiteral("zt5ctl: не удалось вывести результат: %1\n").arg(failure));
    return FinalExitStatus(code, InterruptSignal(), !failure.isEmpty());
}
