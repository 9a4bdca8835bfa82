#pragma once
// What only zt5ctl's manual page says: the output formats of each command, the signals, examples.

#include <QString>

#include <utility>
#include <vector>

// Titled sections: the output formats (from the command table) and the signals.
std::vector<std::pair<QString, QString>> CliManualSections();
// Command lines and what each does.
std::vector<std::pair<QString, QString>> CliExamples();
