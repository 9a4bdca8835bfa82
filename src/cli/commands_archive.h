#pragma once
// Commands on the meter's archives: descriptors, value-archive records, current values and totals,
// event logs.

#include "meter/archive_date.h"

#include <QString>

#include <optional>

class CliContext;

int RunDescriptors(CliContext& context);
int RunArchive(CliContext& context);
int RunCurrent(CliContext& context);
int RunEvents(CliContext& context);

// "YYYY-MM-DD" (hour 0) or "YYYY-MM-DDTHH", a date of the meter's calendar from 2000 on.
std::optional<TChronoArch> ParseArchiveDate(const QString& text);
