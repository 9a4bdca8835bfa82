#pragma once
// Which records the meter's hourly, daily, monthly and totals archives hold, and what it answers for
// a record request.
//
// The archives start at the reset date (at start-up: the given span of days before their end) and
// end at the meter's clock, or at a fixed date for reproducible tests. A record is dated by the end of
// the period it covers: hourly records on the hour, daily and totals records at the report hour,
// monthly records on the report day at the report hour. The descriptors' last-record date is the slot
// the meter is filling now (the next record to be written), so a walk from the first date that stops
// before the last one reads every finished record. An archive holding more than its capacity keeps
// the newest records and sets its overwrite flag.

#include "archive_generator.h"
#include "archive_span.h"
#include "sim_clock.h"

#include "meter/archive_descriptors.h"
#include "meter/archive_step.h"

#include <QByteArray>

#include <array>
#include <cstdint>

class MeterArchives {
public:
    static constexpr std::array<int, kValueArchiveCount> kCapacity = {4416, 732, 60, 732};

    MeterArchives(std::uint32_t seed, const ArchiveSpan& span, MeterSeconds clockNow);

    const ArchiveGenerator& Generator() const { return m_generator; }
    // How far the archives have got: the fixed end, or the clock.
    MeterSeconds Now(MeterSeconds clockNow) const { return m_span.fixedEnd ? SecondsOf(m_span.end) : clockNow; }
    MeterSeconds ResetTime() const { return m_reset; }
    // Full erase: the archives start again from now.
    void Erase(MeterSeconds clockNow) { m_reset = Now(clockNow); }

    struct Range {
        bool empty = true;
        TChronoArch first{};
        TChronoArch newest{};
        TChronoArch next{};        // the slot being filled
        std::int64_t written = 0;  // records written since the reset
        bool overwrote = false;
    };
    Range RangeOf(ArchiveKind kind, ReportTime reportTime, MeterSeconds clockNow) const;

    // The record a request for `date` means: that hour; that day's record; that month's record.
    static TChronoArch SlotFor(ArchiveKind kind, TChronoArch date, ReportTime reportTime);
    static TChronoArch Step(ArchiveKind kind, TChronoArch slot, std::int64_t steps, ReportTime reportTime);

    // The answer to a request for a value or totals record: 0 with the bytes the firmware level sends,
    // 3 for a date the calendar does not have or a kind without records, 133 when the archive has no
    // record for the date.
    int Answer(ArchiveKind kind, TChronoArch requested, ReportTime reportTime, std::uint16_t level,
               MeterSeconds clockNow, QByteArray* bytes) const;
    // The same for tests: the record's bytes, or empty when the meter would answer with an exception.
    QByteArray RecordBytes(ArchiveKind kind, TChronoArch requested, ReportTime reportTime, std::uint16_t level,
                           MeterSeconds clockNow) const;

    // Dates and capacities of the four value archives and the reset date (descriptor areas 1 and 2).
    void FillDescriptors(ArchiveDescriptors& descriptors, ReportTime reportTime, std::uint16_t level,
                         MeterSeconds clockNow) const;

private:
    ArchiveGenerator m_generator;
    ArchiveSpan m_span;
    MeterSeconds m_reset = 0;
};
