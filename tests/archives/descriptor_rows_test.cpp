// The descriptor list as rows of texts.

#include "archives/descriptor_rows.h"

#include <gtest/gtest.h>

namespace {

TEST(DescriptorRows, FilledAndEmptyArchivesResetDateAndLogs)
{
    ArchiveDescriptors descriptors{};
    for (DateTimeStamp& date : descriptors.dates.firstRecord)
        date.year = kEmptyYear;
    descriptors.dates.firstRecord[kArchiveDaily] = DateTimeStamp{1, 2, 24, 10, 0, 0};
    descriptors.dates.lastRecord[kArchiveDaily] = DateTimeStamp{9, 3, 24, 10, 5, 7};
    descriptors.capacities.valueArchives[kArchiveDaily] = CapacityEntry{732, 38, 218, 0x03, 0};
    descriptors.dates.resetDate = DateTimeStamp{31, 1, 24, 23, 59, 58};
    descriptors.logs.eventLogs[kEventLogDiagnostics] = CapacityEntry{256, 17, 16, 0x00, 0};

    const QList<QStringList> rows = DescriptorRows(descriptors);
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(DescriptorColumnTitles().size(), 7);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("Часовой"), QStringLiteral("пуст"), {}, {}, {}, {}, {}}));
    EXPECT_EQ(rows[1],
              (QStringList{QStringLiteral("Суточный"), QStringLiteral("01.02.2024 10:00:00"),
                           QStringLiteral("09.03.2024 10:05:07"), QStringLiteral("732"), QStringLiteral("38"),
                           QStringLiteral("218"), QStringLiteral("1")}));
    EXPECT_EQ(rows[4],
              (QStringList{QStringLiteral("Дата сброса"), QStringLiteral("31.01.2024 23:59:58"), {}, {}, {}, {}, {}}));
    EXPECT_EQ(rows[5], QStringList(7));
    EXPECT_EQ(rows[8],
              (QStringList{QStringLiteral("Диагностик"),
                           {},
                           {},
                           QStringLiteral("256"),
                           QStringLiteral("17"),
                           QStringLiteral("16"),
                           QStringLiteral("0")}));
}

}  // namespace
