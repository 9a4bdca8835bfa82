// The trends page "Графики" in the main window against the simulated meter: a week of the hourly archive
// plotted point for point as the meter holds it, the flagged hours marked, the second look served from
// the database, a stop part-way, the CSV, spreadsheet and PNG files, zoom and reset, the enable rules
// and the remembered choices.

#include "gui_rigs/trends_page_rig.h"

#include "base/settings_sections.h"
#include "gui/archives/trend_chart_view.h"
#include "gui/archives/trend_quantity_list.h"

#include <QComboBox>
#include <QDateTimeAxis>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <mutex>

namespace {

constexpr qint64 kHourMs = 3600 * 1000;

TChronoArch StepHours(TChronoArch date, int hours)
{
    return StepArchiveDate(kArchiveHourly, date, hours, ReportTime{0, 1});
}

// Every point of every line is the meter's value for its hour, and the markers stand exactly at the
// hours whose flags mark the quantity. Counts the flagged hours seen.
void ExpectChartHoldsTheMetersRecords(TrendsRig& trends, TChronoArch first, int hours, int* flaggedSeen = nullptr)
{
    const TrendChart& chart = trends.View()->Chart();
    for (const TrendSeries& series : chart.series) {
        const TrendQuantity& quantity = *series.quantity;
        const QList<QPointF> points = series.line->points();
        EXPECT_EQ(points.size(), hours) << quantity.label.toStdString();
        QList<QPointF> expectedMarks;
        TChronoArch date = first;
        for (int i = 0; i < hours && i < points.size(); ++i, date = StepHours(date, 1)) {
            const ArchiveRecord record = MeterRecord(trends.rig.meter, date);
            ASSERT_EQ(points[i].x(), double(TrendTime(date))) << quantity.label.toStdString() << " " << i;
            ASSERT_EQ(points[i].y(), TrendValue(quantity, record)) << quantity.label.toStdString() << " " << i;
            if (TrendFlags(quantity, record) != 0)
                expectedMarks.append(points[i]);
        }
        if (series.flagged) {
            EXPECT_EQ(series.flagged->points(), expectedMarks) << quantity.label.toStdString();
            if (flaggedSeen)
                *flaggedSeen += int(expectedMarks.size());
        } else {
            EXPECT_TRUE(expectedMarks.isEmpty()) << quantity.label.toStdString();
        }
    }
}

QString StoredTrends(ArchivePageRig& rig, const char* key)
{
    return rig.windowRig.environment->Settings().GetString(SettingsSections::kTrends, QString::fromLatin1(key));
}

TEST(TrendsPage, WeekOfHourlyDataIsPlottedAsTheMeterHoldsItThenComesFromTheDatabase)
{
    TrendsRig trends;
    const TrendPageControls& c = trends.Controls();
    // Before any connection nothing can be read, and nothing is there to save.
    EXPECT_FALSE(c.plot->isEnabled());
    EXPECT_FALSE(c.exportCsv->isEnabled());
    EXPECT_FALSE(c.savePng->isEnabled());
    // The defaults: the hourly archive, t1, t2, V1 and Qтв ТВ1, the last seven days up to this hour.
    EXPECT_EQ(c.archive->currentText(), QStringLiteral("Часовой"));
    TrendSelection defaults = c.quantities->Checked();
    ASSERT_EQ(defaults.size(), 4u);
    EXPECT_EQ(defaults[0]->label, QStringLiteral("t1"));
    EXPECT_EQ(defaults[1]->label, QStringLiteral("t2"));
    EXPECT_EQ(defaults[2]->label, QStringLiteral("V1"));
    EXPECT_EQ(defaults[3]->label, QStringLiteral("Qтв ТВ1"));
    EXPECT_EQ(c.from->dateTime().secsTo(c.to->dateTime()), 7 * 24 * 3600);
    EXPECT_EQ(c.to->dateTime().time().minute(), 0);

    ASSERT_TRUE(trends.Connect());
    EXPECT_TRUE(c.plot->isEnabled());
    ChooseLastWeek(trends);
    // The meter flags dt of the inputs now and then: ask for it too.
    c.quantities->item(c.quantities->RowOf(QStringLiteral("dT_1")))->setCheckState(Qt::Checked);
    ASSERT_TRUE(trends.Plot());

    const ArchiveRangeResult& found = trends.Page()->PlottedResult();
    EXPECT_EQ(found.fromMeter, 169);
    EXPECT_EQ(found.fromDatabase, 0);
    EXPECT_EQ(found.missing, 0);
    EXPECT_EQ(found.serial, trends.rig.meter.Options().identity.serialNumber);
    EXPECT_EQ(c.result->text(), QStringLiteral("Записей: 169 (из базы: 0, с прибора: 169)"));
    ASSERT_EQ(trends.View()->Chart().series.size(), 5u);
    int flagged = 0;
    ExpectChartHoldsTheMetersRecords(trends, Chrono(24, 2, 2024, 12), 169, &flagged);
    EXPECT_GT(flagged, 0) << "the week should have flagged hours to mark";
    // One value axis per unit: °C, м3, Гкал.
    EXPECT_EQ(trends.View()->chart()->axes(Qt::Vertical).size(), 3);
    EXPECT_TRUE(c.exportCsv->isEnabled());
    EXPECT_TRUE(trends.rig.windowRig.presenter.messages.isEmpty());
    // The choice is remembered.
    EXPECT_EQ(StoredTrends(trends.rig, "Quantities"), QStringLiteral("t1_1,t1_2,V1_1,dT_1,Qwi_1"));
    EXPECT_EQ(StoredTrends(trends.rig, "Archive"), QStringLiteral("0"));

    // The same week again: all of it is in the database now, and the chart is the same.
    const QList<QPointF> firstLine = trends.View()->Chart().series[0].line->points();
    ASSERT_TRUE(trends.Plot());
    EXPECT_EQ(trends.Page()->PlottedResult().fromMeter, 0);
    EXPECT_EQ(trends.Page()->PlottedResult().fromDatabase, 169);
    EXPECT_EQ(c.result->text(), QStringLiteral("Записей: 169 (из базы: 169, с прибора: 0)"));
    EXPECT_EQ(trends.View()->Chart().series[0].line->points(), firstLine);
    ExpectChartHoldsTheMetersRecords(trends, Chrono(24, 2, 2024, 12), 169);

    // A window opened later shows the choice made here.
    trends.rig.window.reset();
    std::unique_ptr<MainDialog> again = trends.rig.windowRig.OpenWindow();
    again->AddReadDataPage();
    EXPECT_EQ(again->TrendsPage()->Controls().quantities->CheckedKeys(), QStringLiteral("t1_1,t1_2,V1_1,dT_1,Qwi_1"));
}

TEST(TrendsPage, HoverTellsTheRecordsDateValueAndFlags)
{
    TrendsRig trends;
    ASSERT_TRUE(trends.Connect());
    trends.ChooseHours(Hour(26, 2, 2024, 12), Hour(2, 3, 2024, 12));
    trends.Controls().quantities->SetChecked({QStringLiteral("V1_3")});
    ASSERT_TRUE(trends.Plot());
    const TrendSeries& series = trends.View()->Chart().series.at(0);
    ASSERT_NE(series.flagged, nullptr);
    ASSERT_FALSE(series.flagged->points().isEmpty()) << "the meter flags V3 every 97 hours: these are 145";

    // At a marker: its hour, the value with its unit, its markers.
    const QPointF mark = series.flagged->points().first();
    const int index = NearestRecord(trends.View()->Chart().times, mark.x());
    const RangeRecord& record = trends.Page()->PlottedRecords().at(std::size_t(index));
    const QString text = trends.View()->HoverText(*series.quantity, mark + QPointF(kHourMs / 4, 0));
    EXPECT_TRUE(text.startsWith(TrendDateTime(record.date).toString(QStringLiteral("dd.MM.yyyy hh:00"))
                                + QStringLiteral("  V3 = ")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral(" м3  НС: ") + TrendFlagText(*series.quantity, record.record)))
        << text.toStdString();
    EXPECT_FALSE(TrendFlagText(*series.quantity, record.record).isEmpty());

    // At an hour without flags: "нет".
    for (const QPointF& point : series.line->points()) {
        if (series.flagged->points().contains(point))
            continue;
        EXPECT_TRUE(trends.View()->HoverText(*series.quantity, point).endsWith(QStringLiteral("НС: нет")));
        break;
    }
}

TEST(TrendsPage, DailyArchiveIsPlottedDayByDayAndAnEmptyChoiceIsRefused)
{
    TrendsRig trends;
    ASSERT_TRUE(trends.Connect());
    const TrendPageControls& c = trends.Controls();
    trends.ChooseHours(Hour(20, 2, 2024, 0), Hour(1, 3, 2024, 23));
    c.quantities->SetChecked({});
    QTest::mouseClick(c.plot, Qt::LeftButton);
    ASSERT_EQ(trends.rig.windowRig.presenter.messages.size(), 1);
    EXPECT_EQ(trends.rig.windowRig.presenter.messages.first().text, QStringLiteral("Не выбрано ни одной величины."));
    EXPECT_EQ(trends.Page()->PlotCount(), 0);

    c.archive->setCurrentIndex(kArchiveDaily);
    c.quantities->SetChecked({QStringLiteral("Qwi_1")});
    ASSERT_TRUE(trends.Plot());
    // One record a day, 20.02 to 01.03 (2024 has 29.02), each the meter's daily record.
    const std::vector<RangeRecord>& records = trends.Page()->PlottedRecords();
    ASSERT_EQ(records.size(), 11u);
    const TrendSeries& series = trends.View()->Chart().series.at(0);
    ASSERT_EQ(series.line->count(), 11);
    for (int day = 0; day < 11; ++day) {
        const TChronoArch date = records[std::size_t(day)].date;
        EXPECT_EQ(QDate(date.year + kBaseYear, date.month, date.day), QDate(2024, 2, 20).addDays(day));
        EXPECT_EQ(series.line->at(day).y(),
                  TrendValue(*series.quantity, MeterRecord(trends.rig.meter, date, kArchiveDaily)));
    }
    EXPECT_EQ(StoredTrends(trends.rig, "Archive"), QStringLiteral("1"));
}

TEST(TrendsPage, StopPartWayKeepsWhatWasRead)
{
    // At 19200 baud every record takes a noticeable time, so the stop comes long before the end.
    TrendsRig trends(19200);
    ASSERT_TRUE(trends.Connect());
    const TrendPageControls& c = trends.Controls();
    trends.ChooseHours(Hour(1, 2, 2024, 0), Hour(2, 3, 2024, 12));
    const int before = trends.Page()->PlotCount();
    QTest::mouseClick(c.plot, Qt::LeftButton);
    // Some records read off the meter, shown on the bar: then "Стоп".
    ASSERT_TRUE(TrendsRig::WaitPromptly([&] { return c.progress->isVisible() && c.progress->value() >= 3; }));
    EXPECT_TRUE(c.progress->text().endsWith(QStringLiteral(" из %1 записей").arg(c.progress->maximum())))
        << c.progress->text().toStdString();
    EXPECT_FALSE(c.plot->isEnabled());
    ASSERT_TRUE(c.stop->isEnabled());
    QTest::mouseClick(c.stop, Qt::LeftButton);
    ASSERT_TRUE(TrendsRig::WaitPromptly([&] { return trends.Page()->PlotCount() > before; }));
    ASSERT_TRUE(trends.rig.WaitUntilIdle());

    const ArchiveRangeResult& found = trends.Page()->PlottedResult();
    EXPECT_GE(found.fromMeter, 3);
    EXPECT_GT(found.missing, 0);
    EXPECT_EQ(qint64(trends.Page()->PlottedRecords().size()), found.fromMeter);
    EXPECT_FALSE(c.progress->isVisible());
    EXPECT_TRUE(c.result->text().endsWith(QStringLiteral(", не прочитано: %1)").arg(found.missing)))
        << c.result->text().toStdString();
    // What was read is plotted as the meter holds it.
    const TChronoArch first = trends.Page()->PlottedRecords().front().date;
    ExpectChartHoldsTheMetersRecords(trends, first, int(found.fromMeter));
}

}  // namespace
