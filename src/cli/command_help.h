#pragma once
// One command's part of the help ("zt5ctl help archive", "zt5ctl archive --help") and the options it
// takes, which the completion script offers after it. A command's options are those its usage line
// names and those whose help text names the command; the channel and program options go with every
// command.

#include "cli/command_table.h"

#include <QString>
#include <QStringList>

// Its own options as written: "--date", "-o", ... in the order of the option table.
QStringList CommandOwnOptions(const CliCommand& command);
// What the completion offers after it: the channel and program options, then its own.
QStringList CommandCompletionOptions(const CliCommand& command);

// The help text: usage, what it does, its options with their texts, its JSON form if it has one.
QString CommandHelpText(const CliCommand& command);
