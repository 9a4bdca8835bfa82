#pragma once
// The commands of zt5ctl, one row each: the name typed, the usage and help lines --help shows, and the
// function that carries it out. A new command is one more row in command_table.cpp.

#include "base/command_line_help.h"

#include <QString>

#include <span>
#include <vector>

class CliContext;

struct CliCommand {
    const char* name;
    const char* usage;  // the words after the name
    const char* help;
    int (*run)(CliContext& context);  // ExitCode
    // For the completion script: the sub-commands the first word is one of, or a settings file there.
    const char* words = nullptr;
    bool takesFile = false;
    // The values of --format it can give, space-separated; any other is a usage error.
    const char* formats = "text";
    bool writesFolder = false;  // -o may name a folder (statement --all)
};

std::span<const CliCommand> CliCommands();
// Whether the command works with the meter's settings, so a record whose checksum does not match is
// put to the user; the other commands keep it as the meter holds it and only warn.
bool CommandAsksAboutTunesChecksum(const QString& name);
const CliCommand* FindCliCommand(const QString& name);
// Empty when the command can give `format`, else the usage error in words.
QString CheckCommandFormat(const CliCommand& command, const QString& format);
// The commands as --help, the manual page and the completion script show them.
std::vector<HelpCommand> CliCommandsHelp();
