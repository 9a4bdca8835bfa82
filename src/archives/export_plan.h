#pragma once
// What an export reads of a meter: of each archive every date the meter holds, from its first record up
// to the slot it is filling (ArchiveWalk), oldest first; the export asks the database block by block
// (one query a block) which of them it holds and reads only the others, so every gap the meter can
// still fill is filled, wherever it lies. export-db (command 16) and the collector both go by it.
//
// Beside that, the plan says what the meter's dates tell about the records:
//   - records dated more than a day after the computer's clock: the meter's clock runs, or ran, ahead.
//     They are the meter's and are stored like the others; the plan names the newest of them.
//   - records lost on the meter before they could be read: its first record lies more than one step
//     after the newest one the database holds for it (the ring overwrote the rest since the last run,
//     or the archive was erased).

#include "archives/archive_walk.h"

#include <QDateTime>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

struct PlannedArchive {
    std::int64_t dates = 0;   // the dates the walk visits
    std::int64_t future = 0;  // of those, dated after the computer's clock by more than a day
    DateTimeStamp newestFuture{};
    std::int64_t lost = 0;  // records the meter no longer holds, after the newest stored one
    TChronoArch lostFrom{};
    TChronoArch lostTo{};
};

using NewestStored = std::array<std::optional<DateTimeStamp>, kValueArchiveCount>;

class ExportPlan {
public:
    ExportPlan() = default;
    // `newest`: the newest date the database holds of each archive for this meter; `now`: the
    // computer's clock.
    ExportPlan(const ArchiveDescriptors& descriptors, ReportTime reportTime, const NewestStored& newest,
               const QDateTime& now);

    ArchiveWalk Walk(int kind) const { return ArchiveWalk(m_descriptors, ArchiveKind(kind), m_reportTime); }
    const PlannedArchive& Archive(int kind) const { return m_archives[std::size_t(kind)]; }
    std::int64_t Dates() const;
    std::int64_t FutureDates() const;
    // The newest date after the computer's clock (by more than a day), of any archive.
    std::optional<DateTimeStamp> NewestFuture() const;

private:
    ArchiveDescriptors m_descriptors{};
    ReportTime m_reportTime{};
    std::array<PlannedArchive, kValueArchiveCount> m_archives{};
};

// What the plan tells beyond the dates to read, one line each (empty when nothing):
//   "в приборе есть записи с датами позже часов компьютера более чем на сутки: 48, последняя 26.02.2031 12:00:00"
//   "часовой архив: в приборе перезаписаны до чтения 120 ч, с 26.02.2024 13:00:00 по 03.03.2024 12:00:00"
QStringList ExportPlanNotes(const ExportPlan& plan);
