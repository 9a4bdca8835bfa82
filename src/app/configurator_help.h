#pragma once
// What zt5-configurator says about its command line: --help, its manual page and its completion come
// from this one description.

#include "base/command_line_help.h"

CommandLineHelp ConfiguratorHelp();
