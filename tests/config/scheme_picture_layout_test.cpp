// What each scheme's picture shows: the pipes and points its masks give it, the cold-water point where a
// formula takes hx, and a make-up of elements no other scheme shares.

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "config/scheme_picture_layout.h"
#include "config/scheme_table.h"

namespace {

QStringList Labels(std::initializer_list<const char*> texts)
{
    QStringList labels;
    for (const char* text : texts)
        labels << QString::fromUtf8(text);
    return labels;
}

TEST(SchemePictureLayout, PipesAndPointsFollowTheMasks)
{
    const SchemePictureLayout open = SchemePictureLayoutOf(1);
    EXPECT_EQ(open.AllPointLabels(), Labels({"t1", "P1", "V1", "t2", "P2", "V2", "t3", "P3", "V3", "tхв"}));

    const SchemePictureLayout noV1 = SchemePictureLayoutOf(3);
    EXPECT_EQ(noV1.PointLabels(0), Labels({"t1", "P1"}));
    EXPECT_TRUE(noV1.pipeDrawn[0]);

    const SchemePictureLayout supplyOnly = SchemePictureLayoutOf(9);
    EXPECT_TRUE(supplyOnly.pipeDrawn[0]);
    EXPECT_FALSE(supplyOnly.pipeDrawn[1]) << "scheme 9 has no return pipe";
    EXPECT_TRUE(supplyOnly.pipeDrawn[2]);
    EXPECT_TRUE(supplyOnly.PointLabels(1).isEmpty());
    EXPECT_TRUE(supplyOnly.deadEnd);

    const SchemePictureLayout returnOnly = SchemePictureLayoutOf(10);
    EXPECT_FALSE(returnOnly.pipeDrawn[0]);
    EXPECT_EQ(returnOnly.PointLabels(1), Labels({"t2", "P2", "V2"}));

    // Volume metering: temperature only on pipe 3, no heat and so no cold water.
    const SchemePictureLayout volume = SchemePictureLayoutOf(12);
    EXPECT_EQ(volume.AllPointLabels(), Labels({"P1", "V1", "P2", "V2", "t3", "P3", "V3"}));
    EXPECT_TRUE(volume.pipeDrawn[0] && volume.pipeDrawn[1] && volume.pipeDrawn[2]);

    // The two source schemes: one takes the make-up at hx, the other at its measured h3.
    EXPECT_TRUE(SchemePictureLayoutOf(13).coldWaterPoint);
    EXPECT_FALSE(SchemePictureLayoutOf(14).coldWaterPoint);
    EXPECT_EQ(SchemePictureLayoutOf(13).plant, PlantSide::kHeatSource);
    EXPECT_EQ(SchemePictureLayoutOf(6).plant, PlantSide::kHeatNetwork);

    for (const int none : {0, 15, -1}) {
        const SchemePictureLayout empty = SchemePictureLayoutOf(none);
        EXPECT_EQ(empty.scheme, 0);
        EXPECT_TRUE(empty.AllPointLabels().isEmpty());
        EXPECT_FALSE(empty.pipeDrawn[0] || empty.pipeDrawn[1] || empty.pipeDrawn[2]);
    }
}

TEST(SchemePictureLayout, EverySchemeIsDrawnUnlikeEveryOther)
{
    using Signature = std::tuple<int, int, bool, bool, int, int, int, QString, QString>;
    std::set<Signature> seen;
    for (int scheme = 1; scheme <= kMaxScheme; ++scheme) {
        const SchemePictureLayout layout = SchemePictureLayoutOf(scheme);
        EXPECT_EQ(layout.scheme, scheme);
        EXPECT_NE(layout.pipe3, Pipe3Role::kNone) << "every scheme measures something on pipe 3: " << scheme;
        const Signature signature{int(layout.pipe3),     int(layout.plant),      layout.deadEnd,
                                  layout.coldWaterPoint, layout.temperatureMask, layout.pressureMask,
                                  layout.volumeMask,     layout.plantText,       layout.consumerText};
        EXPECT_TRUE(seen.insert(signature).second) << "scheme " << scheme << " looks like an earlier one";
    }
}

TEST(SchemePictureLayout, CaptionNamesTheSchemeAndCombination)
{
    InputSettings in{};
    EXPECT_EQ(SchemePictureCaption(in), QStringLiteral("ТВ НЕ ИСПОЛЬЗУЕТСЯ"));
    in.scheme = 2;
    in.SetKt3(3);
    in.SetFrt(1);
    EXPECT_EQ(SchemePictureCaption(in), QStringLiteral("СИ 2, КТ3=3, ФРТ=1"));
    in.scheme = 12;
    in.SetKt3(0);
    in.SetFrt(11);
    EXPECT_EQ(SchemePictureCaption(in), QStringLiteral("СИ 12, КТ3=0, ФРТ=11"));
}

}  // namespace
