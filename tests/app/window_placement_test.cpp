#include "app/window_placement.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacementTest, RecordIsElevenLittleEndianFieldsWithExclusiveRightAndBottom)
{
    WindowPlacement placement;
    placement.showState = WindowPlacement::kMaximised;
    placement.normal = QRect(10, 20, 300, 200);
    const QByteArray bytes = placement.ToBytes();
    ASSERT_EQ(bytes.size(), 44);
    EXPECT_EQ(bytes.toHex(),
              QByteArray("2c000000"
                         "00000000"
                         "03000000"
                         "ffffffff"
                         "ffffffff"
                         "ffffffff"
                         "ffffffff"
                         "0a000000"
                         "14000000"
                         "36010000"
                         "dc000000"));

    WindowPlacement read;
    ASSERT_TRUE(WindowPlacement::FromBytes(bytes, &read));
    EXPECT_EQ(read.normal, placement.normal);
    EXPECT_EQ(read.showState, WindowPlacement::kMaximised);
    EXPECT_EQ(read.minimisedPosition, QPoint(-1, -1));

    // A longer value is cut to its first 44 bytes.
    ASSERT_TRUE(WindowPlacement::FromBytes(bytes + QByteArray(8, '\x7f'), &read));
    EXPECT_EQ(read.normal, placement.normal);
}

TEST(WindowPlacementTest, ShortForeignOrDamagedValuesAreRefusedAndChangeNothing)
{
    WindowPlacement placement;
    placement.normal = QRect(1, 2, 3, 4);
    const QByteArray good = placement.ToBytes();

    WindowPlacement read;
    read.normal = QRect(5, 5, 5, 5);
    EXPECT_FALSE(WindowPlacement::FromBytes(good.left(43), &read));
    EXPECT_FALSE(WindowPlacement::FromBytes(QByteArray(), &read));

    QByteArray otherLength = good;
    otherLength[0] = 40;
    EXPECT_FALSE(WindowPlacement::FromBytes(otherLength, &read));

    // Right left of left, and a width that would overflow 32 bits.
    WindowPlacement reversed;
    reversed.normal = QRect(QPoint(100, 0), QPoint(50, 10));
    EXPECT_FALSE(WindowPlacement::FromBytes(reversed.ToBytes(), &read));
    QByteArray huge = good;
    for (int i = 28; i < 32; ++i)
        huge[i] = (i == 31) ? '\x80' : '\0';                                     // left = INT32_MIN
    huge[36] = '\xff', huge[37] = '\xff', huge[38] = '\xff', huge[39] = '\x7f';  // right = INT32_MAX
    EXPECT_FALSE(WindowPlacement::FromBytes(huge, &read));

    EXPECT_EQ(read.normal, QRect(5, 5, 5, 5));
}

}  // namespace
