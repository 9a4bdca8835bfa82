// zt5ctl: the command line over the configurator's core.

#include "cli/cli_main.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    return RunCli(arguments);
}
