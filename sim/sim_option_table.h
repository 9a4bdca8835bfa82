#pragma once
// The options of zt5-meter-sim, one row each: the parser (sim_options.cpp) and the help (sim_help.cpp)
// both read this table.

#include "base/command_line_options.h"
#include "sim_options.h"

#include <span>

std::span<const OptionRow<SimOptions>> SimOptionRows();
