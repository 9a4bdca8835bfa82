#pragma once
// zt5ctl from its arguments to its exit status: --help, --version, or one command.

#include <QStringList>

// `arguments` without the program name. A QCoreApplication must exist.
int RunCli(const QStringList& arguments);

QString CliHelpText();
QString CliVersionText();
