#include "archives/archive_walk.h"

ArchiveWalk::ArchiveWalk(const ArchiveDescriptors& descriptors, ArchiveKind kind, ReportTime reportTime)
    : m_kind(kind),
      m_reportTime(reportTime),
      m_date(descriptors.FirstRecord(kind)),
      m_last(ChronoOf(descriptors.LastRecord(kind))),
      m_limit(descriptors.Capacity(kind).maxRecords),
      m_empty(IsAllOnes(ChronoOf(m_date)))
{}

bool ArchiveWalk::AtEnd() const
{
    // Checked before each request, so an archive whose first and last dates fall in one hour asks for
    // nothing; minutes do not count.
    return m_empty || m_visited >= m_limit || HourDifference(ChronoOf(m_date), m_last) >= 0;
}

void ArchiveWalk::Next()
{
    const TChronoArch next = StepArchiveDate(m_kind, ChronoOf(m_date), 1, m_reportTime);
    m_date = StampOf(next, m_date.minute, m_date.second);
    ++m_visited;
}

std::int64_t ArchiveWalk::Count() const
{
    ArchiveWalk walk = *this;
    std::int64_t count = 0;
    for (; !walk.AtEnd(); walk.Next())
        ++count;
    return count;
}
