#pragma once
// A program's command-line help as a bash completion script: options, their values (files, folders,
// fixed choices), the commands and their first words.

#include "base/command_line_help.h"

QString RenderBashCompletion(const CommandLineHelp& help);
