#pragma once
// The dates an export of one archive visits: from the first-record date of the descriptors, one record
// step at a time (hour; day at the report hour; month on the report day), up to but not including the
// last-record date, which is the slot the meter is still filling; never more dates than the archive
// holds records. An archive whose first date is all 0xFF holds nothing.

#include "meter/archive_descriptors.h"
#include "meter/archive_step.h"

#include <cstdint>

class ArchiveWalk {
public:
    ArchiveWalk(const ArchiveDescriptors& descriptors, ArchiveKind kind, ReportTime reportTime);

    bool IsEmpty() const { return m_empty; }
    bool AtEnd() const;
    // The date to request now; its minute and second stay those of the first-record date.
    const DateTimeStamp& Date() const { return m_date; }
    void Next();

    // How many dates the whole walk visits.
    std::int64_t Count() const;

private:
    ArchiveKind m_kind;
    ReportTime m_reportTime;
    DateTimeStamp m_date;
    TChronoArch m_last;
    int m_limit;
    int m_visited = 0;
    bool m_empty;
};
