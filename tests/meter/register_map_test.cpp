// The register map held against the records it carries: sizes by firmware level agree with the archive
// record layouts, and no two areas overlap inside the image. (The configuration blocks' sizes are held
// against the records by the configuration round trips.)

#include "archives/archive_records.h"
#include "meter/archive_descriptors.h"
#include "meter/register_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(RegisterMap, SizesFollowTheRecordsAtEveryLevel)
{
    for (const std::uint16_t level : {0, 511, 512, 514, 515, 520, 521, 1024}) {
        SCOPED_TRACE(level);
        const bool older = level < 512;
        EXPECT_EQ(AreaSize(MeterArea::kArchiveRecord, level), int(ArchiveRecordSize(level)));
        EXPECT_EQ(AreaSize(MeterArea::kTotalsRecord, level), int(TotalsRecordSize(level)));
        EXPECT_EQ(AreaSize(MeterArea::kTunes, level), older ? 574 : 510);
        EXPECT_EQ(AreaSize(MeterArea::kControls, level), older ? 0 : 64);
        EXPECT_EQ(AreaSize(MeterArea::kMakerData, level), older ? 6 : 14);
        EXPECT_EQ(AreaSize(MeterArea::kCurrentValues, level), int(kCurrentAreaSize));
        EXPECT_EQ(AreaSize(MeterArea::kArchiveRequest, level), int(sizeof(ArchiveRequest)));
        EXPECT_EQ(ClockCommandCode(level), level < 521 ? 6 : 9);
    }
    EXPECT_EQ(AreaCapacity(MeterArea::kDescriptorDates) + AreaCapacity(MeterArea::kDescriptorCapacities)
                  + AreaCapacity(MeterArea::kDescriptorEventLogs),
              int(sizeof(ArchiveDescriptors)));
}

TEST(RegisterMap, AreasLieApartInsideTheImage)
{
    std::vector<const AreaEntry*> areas;
    for (int i = 0; i < kMeterAreaCount; ++i)
        areas.push_back(&AreaOf(static_cast<MeterArea>(i)));
    std::sort(areas.begin(), areas.end(),
              [](const AreaEntry* a, const AreaEntry* b) { return a->firstRegister < b->firstRegister; });
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const int end = AreaOffset(areas[i]->area) + AreaCapacity(areas[i]->area);
        const int next = i + 1 < areas.size() ? AreaOffset(areas[i + 1]->area) : kImageByteCount;
        EXPECT_LE(end, next) << "area at register " << areas[i]->firstRegister;
    }
    EXPECT_EQ(AreaRegister(MeterArea::kControls), 3801);
    EXPECT_EQ(AreaOffset(MeterArea::kCurrentValues), 7080);
}
