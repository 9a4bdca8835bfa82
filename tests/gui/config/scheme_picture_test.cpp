// The scheme pictures: each scheme drawn unlike every other, with exactly the measuring points its
// masks give it, the cold-water point where a formula takes hx, and the caption.

#include "config/scheme_table.h"
#include "gui/config/scheme_picture.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString kColdWater = QStringLiteral("tхв");

// Point labels straight from the masks: t, P, V of pipe 1, then 2, then 3.
QStringList PointsOfMasks(int scheme)
{
    const SchemeEntry& entry = *SchemeAt(scheme);
    QStringList labels;
    for (int pipe = 0; pipe < 3; ++pipe) {
        if (entry.Measures(entry.temperatureMask, pipe))
            labels << QStringLiteral("t%1").arg(pipe + 1);
        if (entry.Measures(entry.pressureMask, pipe))
            labels << QStringLiteral("P%1").arg(pipe + 1);
        if (entry.Measures(entry.volumeMask, pipe))
            labels << QStringLiteral("V%1").arg(pipe + 1);
    }
    return labels;
}

QStringList PointsDrawn(const QStringList& drawn)
{
    static const QRegularExpression point(QStringLiteral("^([tPV][123]|tхв)$"));
    QStringList points;
    for (const QString& text : drawn) {
        if (point.match(text).hasMatch())
            points << text;
    }
    return points;
}

TEST(SchemePicture, EverySchemeHasAPictureOfItsOwn)
{
    std::vector<QImage> images;
    for (int scheme = 1; scheme <= kMaxScheme; ++scheme) {
        QStringList drawn;
        // No caption: the drawing alone must tell the schemes apart.
        images.push_back(RenderSchemePicture(scheme, QString(), kSchemePictureSize, &drawn));
        QStringList expected = PointsOfMasks(scheme);
        // Only volume metering (12) and the source with measured make-up (14) take no hx.
        if (scheme != 12 && scheme != 14)
            expected << kColdWater;
        EXPECT_EQ(PointsDrawn(drawn), expected) << "scheme " << scheme;
        EXPECT_EQ(drawn.last(), QString()) << "the caption comes last";
    }
    for (std::size_t a = 0; a < images.size(); ++a) {
        for (std::size_t b = a + 1; b < images.size(); ++b)
            EXPECT_NE(images[a], images[b]) << "schemes " << a + 1 << " and " << b + 1 << " look alike";
    }
}

TEST(SchemePicture, AnInputWithoutASchemeShowsOnlyItsCaption)
{
    QStringList drawn;
    const QImage unused = RenderSchemePicture(0, QStringLiteral("ТВ НЕ ИСПОЛЬЗУЕТСЯ"), kSchemePictureSize, &drawn);
    EXPECT_EQ(drawn, QStringList{QStringLiteral("ТВ НЕ ИСПОЛЬЗУЕТСЯ")});
    EXPECT_NE(unused, RenderSchemePicture(0, QString()));  // the caption is really drawn

    // The widget draws what it was given, at whatever size.
    CSchemePicture picture;
    picture.SetPicture(9, QStringLiteral("СИ 9, КТ3=0, ФРТ=4"));
    picture.resize(600, 300);
    const QImage shown = picture.grab().toImage();
    EXPECT_EQ(shown.size(), QSize(600, 300));
    EXPECT_EQ(PointsDrawn(picture.DrawnTexts()), PointsOfMasks(9) << kColdWater);
    EXPECT_EQ(picture.DrawnTexts().last(), QStringLiteral("СИ 9, КТ3=0, ФРТ=4"));
    EXPECT_FALSE(picture.DrawnTexts().contains(QStringLiteral("t2"))) << "scheme 9 has no return pipe";
}

}  // namespace
