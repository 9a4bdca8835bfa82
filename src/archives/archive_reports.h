#pragma once
// The text reports of the archives page: each renderer returns the whole text of its report,
// lines ending in CR LF.

#include <cstdint>
#include <span>

#include <QString>

#include "archives/archive_records.h"
#include "archives/current_values.h"

// One record of the hourly, daily or monthly archive.
QString RenderArchiveRecord(const ArchiveRecord& record);

// Totals in the current form: the current totals ("ТЕКУЩИЕ ИТОГОВЫЕ ЗНАЧЕНИЯ" with the time to the
// second) or a totals-archive record converted by ToCurrentTotalsForm ("ИТОГОВЫЕ ЗНАЧЕНИЯ", hour).
enum class TotalsOrigin { Current, Archive };
QString RenderTotals(const CurrentTotalsRecord& totals, TotalsOrigin origin);

QString RenderCurrentValues(const CurrentValues& values);

// `count` event-log entries laid back to back in `entries`; no more than the bytes hold are shown.
// A count of 0 gives an empty text.
QString RenderEventEntries(std::span<const std::uint8_t> entries, int count);
