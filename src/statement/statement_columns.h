#pragma once
// The columns of one thermal input's statement table: which quantities the input's measuring scheme
// has (pipes it does not use are left out), where each sits in a daily or hourly record, how "Итого"
// makes it (a sum, an average weighted by a pipe's mass, a plain average) and which totals-archive
// integrator stands beside its sum.

#include "archives/archive_records.h"
#include "statement/statement_model.h"

#include <functional>
#include <optional>
#include <vector>

// kAverage weighs by the input's operating time (ВНР): hours the meter stood hold no pressure.
enum class ColumnTotal { kSum, kMassWeighted, kAverage };

struct ColumnRule {
    StatementColumn column;
    ColumnTotal total = ColumnTotal::kSum;
    std::function<double(const ArchiveRecord&)> value;
    int weightPipe = -1;  // kMassWeighted: the pipe (0..5) whose mass weighs the value
    // The integrator beside the sum; empty for columns the totals archive does not count.
    std::function<double(const TotalsBody&)> integrator;
    bool wraps = false;  // the integrator is a 16-bit counter of hours
    int timeInput = 0;   // kAverage: the input whose ВНР weighs the value
};

// The columns of `input` (0, 1) for the measuring scheme `scheme` (СИ of the records; 0 or unknown:
// both pipes), pressures shown in `unitSystem`.
std::vector<ColumnRule> StatementColumns(int input, int scheme, std::optional<unsigned> unitSystem);

// The НС codes a record's flags give for an input: "Vmin", "Vmax", "dt", "tн", "пит", space-separated.
QString StatementMarks(const ArchiveRecord& record, int input);
// The lines of the legend that explain the codes and how "Итого" averages.
QStringList StatementLegend();
