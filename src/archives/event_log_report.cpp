#include "archives/archive_reports.h"

#include <algorithm>

#include "archives/record_bytes.h"
#include "archives/report_text.h"
#include "meter/event_record.h"

namespace {

// The "from ... to ..." line of an entry; none for kind 0.
void AddValueChange(ReportText& text, const EventRecord& entry)
{
    const EventValueKind kind = entry.ValueKind();
    const auto& from = entry.oldValue;
    const auto& to = entry.newValue;
    switch (kind) {
        case kEventValueNone:
            return;
        case kEventValueU8:
        case kEventValueU16:
        case kEventValueU32:
            // Shown unsigned: a four-byte value of 2^31 or more is a count, not a negative number.
            text.Add(QString::asprintf("\tc %u на %u", EventValueInteger(kind, from), EventValueInteger(kind, to)));
            break;
        case kEventValueFloat:
            text.Add(QString::asprintf("\tc %f на %f", static_cast<double>(EventValueFloat(from)),
                                       static_cast<double>(EventValueFloat(to))));
            break;
        case kEventValueChrono:
        case kEventValueChrono2:
            // The year byte as it is, without 2000 added.
            text.Add(QString::asprintf("\tc %.2d.%.2d.%.2d %.2d на %.2d.%.2d.%.2d %.2d", from[0], from[1], from[2],
                                       from[3], to[0], to[1], to[2], to[3]));
            break;
        case kEventValueTime:
            text.Add(QString::asprintf("\tc %.2d:%.2d:%.2d на %.2d:%.2d:%.2d", from[0], from[1], from[2], to[0], to[1],
                                       to[2]));
            break;
    }
    text.EndLine();
}

void AddEntry(ReportText& text, const EventRecord& entry)
{
    text.Add(StampText(entry.time));
    text.EndLine();
    text.Add(QString::asprintf("\tТип изменяемой величины: %d", entry.QuantityType()));
    text.EndLine();
    text.Add(QString::asprintf("\tКонтекстно номер трубы, ТВ и т.д.: %d", entry.Context()));
    text.EndLine();
    text.Add(QString::asprintf("\tБД: %d", entry.ParameterSet() + 1));
    text.EndLine();
    text.Add("\tТип хранимого значения: ");
    text.Add(EventValueKindName(entry.ValueKind()));
    text.EndLine();
    AddValueChange(text, entry);
    text.Line("-------------------------------------------------");
    text.EndLine();
}

}  // namespace

QString RenderEventEntries(std::span<const std::uint8_t> entries, int count)
{
    const auto available = static_cast<int>(entries.size() / kEventRecordSize);
    const int shown = std::clamp(count, 0, available);
    ReportText text;
    for (int i = 0; i < shown; ++i) {
        const auto offset = static_cast<std::size_t>(i) * kEventRecordSize;
        AddEntry(text, RecordFromBytes<EventRecord>(entries.subspan(offset, kEventRecordSize)));
    }
    return text.Take();
}
