#pragma once
// collect: the archives of many meters of the node base into one database, unattended (a nightly
// timer). Lines side by side, meters of a line in turn, each meter from the newest records stored for
// it. The summary goes to stdout (--format json for scripts); the exit status is 0 when every meter
// was read, 1 when some failed or the run was stopped, 2 on a usage error.

#include "cli/collect_runner.h"

#include <QString>

#include <vector>

class CliContext;

int RunCollect(CliContext& context);

// "Приборов: 3, успешно: 2, с ошибкой: 1" with the records and a line for each failed meter; or the
// same as one JSON object.
QString CollectSummaryText(const std::vector<MeterResult>& results, int meters);
QString CollectSummaryJson(const std::vector<MeterResult>& results, int meters);
