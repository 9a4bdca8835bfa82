#pragma once
// archive hour|day|month --from ДАТА --to ДАТА: a stretch of a value archive as a table (CSV or the
// spreadsheet page), the records the archive database holds taken from there and the rest read off the
// meter and added to the database.

#include "meter/archive_descriptors.h"

class CliContext;

int RunArchiveRange(CliContext& context, ArchiveKind kind);
