#pragma once
// zt5ctl from its arguments to its exit status: --help, --version, or one command.

#include "base/command_line_help.h"

#include <QStringList>

// `arguments` without the program name. A QCoreApplication must exist.
int RunCli(const QStringList& arguments);

// What zt5ctl says about itself: --help, and the manual page and completion script made from it.
CommandLineHelp CliHelp();
QString CliHelpText();
QString CliVersionText();
