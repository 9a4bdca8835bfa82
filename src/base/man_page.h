#pragma once
// A program's command-line help as a manual page (groff man macros), section 1.

#include "base/command_line_help.h"

QString RenderManPage(const CommandLineHelp& help, const QString& version);

// `text` safe inside a groff line: backslashes, hyphens, and a leading dot or quote escaped.
QString GroffEscaped(const QString& text);
