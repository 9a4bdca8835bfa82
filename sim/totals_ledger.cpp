#include "totals_ledger.h"

TotalsLedger::TotalsLedger(HourSource hours, std::int64_t firstHour)
    : m_hours(std::move(hours)),
      m_first(firstHour),
      m_base(firstHour - 1 - ((firstHour - 1 - kMarkHour) % kStride + kStride) % kStride)
{
    m_marks.emplace_back();
}

RunningTotals TotalsLedger::After(std::int64_t hour) const
{
    if (hour < m_first)
        return {};
    const std::int64_t mark = (hour - m_base) / kStride;
    RunningTotals totals;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_marks.reserve(static_cast<std::size_t>(mark) + 1);
        while (static_cast<std::int64_t>(m_marks.size()) <= mark) {
            RunningTotals next = m_marks.back();
            const std::int64_t last = m_base + static_cast<std::int64_t>(m_marks.size()) * kStride;
            for (std::int64_t h = last - kStride + 1; h <= last; ++h)
                next.Add(m_hours(h));
            m_marks.push_back(next);
        }
        totals = m_marks[static_cast<std::size_t>(mark)];
    }
    for (std::int64_t h = m_base + mark * kStride + 1; h <= hour; ++h)
        totals.Add(m_hours(h));
    return totals;
}
