#pragma once
// What zt5-meter-sim says about itself: --help, and the manual page and completion script the build
// makes from the same table.

#include "base/command_line_help.h"

CommandLineHelp SimHelp();
QString SimHelpText();
