// Archive records, totals, current values and event entries of any bytes: every renderer gives its
// text (NaN, infinities, huge numbers, dates the calendar lacks) without reading outside the record.
// The first byte picks the renderer, the rest is the record.

#include "archives/archive_reports.h"
#include "fuzz_input.h"

#include <cstring>

namespace {

template <class Record>
Record RecordOf(const std::vector<std::uint8_t>& bytes)
{
    Record record{};
    if (!bytes.empty())  // an empty vector's data() may be null, which memcpy must never get
        std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
    return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const std::vector<std::uint8_t> bytes = input.Rest();
    switch (mode % 5) {
        case 0:
            RenderArchiveRecord(RecordOf<ArchiveRecord>(bytes));
            break;
        case 1:
            RenderTotals(RecordOf<CurrentTotalsRecord>(bytes), TotalsOrigin::Current);
            break;
        case 2:
            RenderTotals(ToCurrentTotalsForm(RecordOf<TotalsRecord>(bytes)), TotalsOrigin::Archive);
            break;
        case 3:
            RenderCurrentValues(RecordOf<CurrentValues>(bytes));
            break;
        default:
            // Entries back to back; the count may claim more than the bytes hold.
            RenderEventEntries(std::span<const std::uint8_t>(bytes.data(), bytes.size()), mode / 5);
            break;
    }
    return 0;
}
