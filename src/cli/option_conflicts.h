#pragma once
// Options that contradict each other on one line are a usage error naming both, whatever the command:
// two channels to the meter, a record's date beside a period, a month beside its days.

#include "cli/cli_options.h"

#include <QString>

// The usage error, or empty.
QString OptionConflict(const CliOptions& options);
