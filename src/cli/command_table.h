#pragma once
// The commands of zt5ctl, one row each: the name typed, the usage and help lines --help shows, and the
// function that carries it out. A new command is one more row in command_table.cpp.

#include <QString>

#include <span>

class CliContext;

struct CliCommand {
    const char* name;
    const char* usage;  // the words after the name
    const char* help;
    int (*run)(CliContext& context);  // ExitCode
};

std::span<const CliCommand> CliCommands();
const CliCommand* FindCliCommand(const QString& name);
// The command part of --help.
QString CommandsHelpText();
