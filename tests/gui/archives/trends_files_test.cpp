// What the trends page hands on and how its chart moves: the plotted week as CSV, as the spreadsheet
// page and as a PNG picture, a write that fails, zoom by wheel, rubber band and keys, pan and reset; and
// the page's picture for docs/screenshots.

#include "gui_rigs/trends_page_rig.h"

#include "base/text_codec.h"
#include "gui/archives/trend_quantity_list.h"
#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/ui_test_helpers.h"
#include "support/file_bytes.h"

#include <QApplication>
#include <QChart>
#include <QDateTimeAxis>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// The plotted last week of the meter with the default quantities, the chart laid out in its view.
bool PlotLastWeek(TrendsRig& trends)
{
    if (!trends.Connect())
        return false;
    ChooseLastWeek(trends);
    if (!trends.Plot())
        return false;
    return QTest::qWaitFor([&] { return trends.View()->chart()->plotArea().width() > 100; },
                           ArchivePageRig::kArrivesMs);
}

QList<std::pair<qreal, qreal>> ValueRanges(TrendChartView* view)
{
    QList<std::pair<qreal, qreal>> ranges;
    for (QAbstractAxis* axis : view->chart()->axes(Qt::Vertical)) {
        const auto* values = static_cast<QValueAxis*>(axis);
        ranges.append({values->min(), values->max()});
    }
    return ranges;
}

// A point of the view at `part` of the plot area's width, half-way down.
QPoint PlotPoint(TrendChartView* view, double part)
{
    const QRectF area = view->chart()->plotArea();
    return view->mapFromScene(QPointF(area.left() + part * area.width(), area.center().y()));
}

void SendMouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST(TrendsPage, PlottedWeekGoesToCsvSpreadsheetAndPng)
{
    TrendsRig trends;
    ASSERT_TRUE(PlotLastWeek(trends));
    CDlgTrends* page = trends.Page();
    QTemporaryDir folder;

    const QString csv = folder.filePath(QStringLiteral("week.csv"));
    ASSERT_TRUE(page->ExportCsvTo(csv));
    const QByteArray bytes = ReadAll(csv);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + 169 + 1) << "heads, a row per hour, the last line's end";
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Дата;t1, °C;t2, °C;V1, м3;Qтв ТВ1, Гкал;")))
        << lines[0].toStdString();
    const ArchiveRecord first = MeterRecord(trends.rig.meter, Chrono(24, 2, 2024, 12));
    const TrendSelection& plotted = page->PlottedQuantities();
    EXPECT_TRUE(
        lines[1].startsWith(QStringLiteral("24.02.2024 12:00;%1;%2;")
                                .arg(RangeNumberText(float(TrendValue(*plotted[0], first)), LocaleDecimalSeparator()),
                                     RangeNumberText(float(TrendValue(*plotted[1], first)), LocaleDecimalSeparator()))))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[169].startsWith(QStringLiteral("02.03.2024 12:00;"))) << lines[169].toStdString();
    EXPECT_TRUE(lines[170].isEmpty());

    const QString sheet = folder.filePath(QStringLiteral("week.xls"));
    ASSERT_TRUE(page->ExportHtmlTo(sheet));
    const QString html = DecodeWindows1251(ReadAll(sheet));
    EXPECT_TRUE(html.contains(QStringLiteral("Часовой архив, зав.N %1, 24.02.2024 - 02.03.2024")
                                  .arg(trends.rig.meter.Options().identity.serialNumber)));
    EXPECT_TRUE(html.contains(QStringLiteral("02.03.2024 12:00")));

    const QString png = folder.filePath(QStringLiteral("week.png"));
    ASSERT_TRUE(page->SavePngTo(png));
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), trends.View()->size() * trends.View()->devicePixelRatio());
    // The picture carries the stretch's title; the lines' colours differ from each other and from the НС red.
    const QChart* chart = trends.View()->chart();
    EXPECT_EQ(chart->title(),
              QStringLiteral("Часовой архив, зав.N %1, 24.02.2024 - 02.03.2024")
                  .arg(trends.rig.meter.Options().identity.serialNumber));
    QSet<QRgb> colours;
    int lineCount = 0;
    for (QAbstractSeries* series : chart->series()) {
        if (auto* line = qobject_cast<QLineSeries*>(series)) {
            ++lineCount;
            colours.insert(line->color().rgb());
            EXPECT_NE(line->color(), QColor(Qt::red)) << line->name().toStdString();
        }
    }
    EXPECT_GT(lineCount, 1);
    EXPECT_EQ(colours.size(), lineCount);
    EXPECT_TRUE(trends.rig.windowRig.presenter.messages.isEmpty());

    // "Экспорт CSV..." offers the stretch's name in the work folder and adds the extension to the name chosen.
    QString offered;
    QStringList filters;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        offered = dialog->selectedFiles().value(0);
        filters = dialog->nameFilters();
        TypeFileName(dialog, folder.filePath(QStringLiteral("chosen")));
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides its accept()
    });
    QTest::mouseClick(trends.Controls().exportCsv, Qt::LeftButton);
    EXPECT_EQ(QFileInfo(offered).fileName(),
              QStringLiteral("Часовой архив, зав.N %1, 24.02.2024 - 02.03.2024.csv")
                  .arg(trends.rig.meter.Options().identity.serialNumber));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Таблицы CSV (*.csv)")});
    EXPECT_EQ(ReadAll(folder.filePath(QStringLiteral("chosen.csv"))), bytes);

    // A file that cannot be made is said so, and nothing is left behind.
    QFile blocker(folder.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString impossible = folder.filePath(QStringLiteral("not-a-folder/week.csv"));
    EXPECT_FALSE(page->ExportCsvTo(impossible));
    ASSERT_EQ(trends.rig.windowRig.presenter.messages.size(), 1);
    const PresentedMessage& message = trends.rig.windowRig.presenter.messages.first();
    EXPECT_TRUE(
        message.text.startsWith(QStringLiteral("Не удалось сохранить таблицу графика в CSV \"%1\": ").arg(impossible)))
        << message.text.toStdString();
    EXPECT_EQ(message.caption, QStringLiteral("Информация"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 5);

    // The next dialog starts where the last file went; ".html" typed by the user stays as typed.
    QString startFolder;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        startFolder = dialog->directory().path();
        offered = dialog->selectedFiles().value(0);
        TypeFileName(dialog, folder.filePath(QStringLiteral("trend.html")));
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(trends.Controls().exportHtml, Qt::LeftButton);
    EXPECT_EQ(QDir(startFolder), QDir(folder.path()));
    EXPECT_EQ(QFileInfo(offered).absolutePath(), QDir(folder.path()).absolutePath());
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("trend.html"))))
        << QDir(folder.path()).entryList(QDir::Files).join(QStringLiteral(", ")).toStdString() << " offered "
        << offered.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("trend.html.xls"))));
}

TEST(TrendsPage, ZoomAndPanMoveOnlyTheTimeAxisAndResetShowsTheWholeWeek)
{
    TrendsRig trends;
    ASSERT_TRUE(PlotLastWeek(trends));
    TrendChartView* view = trends.View();
    const qint64 first = TrendTime(Chrono(24, 2, 2024, 12));
    const qint64 last = TrendTime(Chrono(2, 3, 2024, 12));
    const std::pair<qint64, qint64> whole{first, last};
    ASSERT_EQ(view->TimeRange(), whole);
    const auto values = ValueRanges(view);
    const qint64 span = last - first;

    // One wheel notch at the middle of the plot: 80 % of the week around the same time.
    const QPoint middle = PlotPoint(view, 0.5);
    const double atCursor = view->TimeAt(middle);
    QWheelEvent wheel(middle, view->viewport()->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    auto [from, to] = view->TimeRange();
    EXPECT_NEAR(double(to - from), 0.8 * double(span), 1000);
    EXPECT_NEAR(view->TimeAt(middle), atCursor, double(span) / 100);
    EXPECT_EQ(ValueRanges(view), values);

    // The left arrow goes back a tenth of the shown stretch.
    const auto zoomed = view->TimeRange();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_NEAR(double(view->TimeRange().first), double(zoomed.first) - 0.1 * double(zoomed.second - zoomed.first),
                1000);
    // Past the week's start it stops there.
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(view->TimeRange().first, first);

    // Dragging with the right button moves later in time as the plot goes left.
    const auto beforeDrag = view->TimeRange();
    SendMouse(view->viewport(), QEvent::MouseButtonPress, PlotPoint(view, 0.6), Qt::RightButton, Qt::RightButton);
    SendMouse(view->viewport(), QEvent::MouseMove, PlotPoint(view, 0.4), Qt::NoButton, Qt::RightButton);
    SendMouse(view->viewport(), QEvent::MouseButtonRelease, PlotPoint(view, 0.4), Qt::RightButton, Qt::NoButton);
    const double shownSpan = double(beforeDrag.second - beforeDrag.first);
    EXPECT_NEAR(double(view->TimeRange().first), double(beforeDrag.first) + 0.2 * shownSpan, shownSpan / 50);

    // A rubber band from a quarter to a half of the plot shows that stretch.
    ASSERT_TRUE(trends.Controls().resetZoom->isEnabled());
    QTest::mouseClick(trends.Controls().resetZoom, Qt::LeftButton);
    ASSERT_EQ(view->TimeRange(), whole);
    SendMouse(view->viewport(), QEvent::MouseButtonPress, PlotPoint(view, 0.25), Qt::LeftButton, Qt::LeftButton);
    SendMouse(view->viewport(), QEvent::MouseMove, PlotPoint(view, 0.5), Qt::NoButton, Qt::LeftButton);
    SendMouse(view->viewport(), QEvent::MouseButtonRelease, PlotPoint(view, 0.5), Qt::LeftButton, Qt::NoButton);
    std::tie(from, to) = view->TimeRange();
    EXPECT_NEAR(double(from), double(first) + 0.25 * double(span), double(span) / 50);
    EXPECT_NEAR(double(to), double(first) + 0.5 * double(span), double(span) / 50);
    // The band spans the plot's height: the values keep their ranges (up to rounding).
    const auto banded = ValueRanges(view);
    ASSERT_EQ(banded.size(), values.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        const double tolerance = 1e-6 * (values[i].second - values[i].first);
        EXPECT_NEAR(banded[i].first, values[i].first, tolerance);
        EXPECT_NEAR(banded[i].second, values[i].second, tolerance);
    }

    QTest::mouseClick(trends.Controls().resetZoom, Qt::LeftButton);
    EXPECT_EQ(view->TimeRange(), whole);
}

TEST(TrendChart, ValuesThatAreNoNumbersAreLeftOutAndTheAxisStaysFinite)
{
    // Three hours of t1: a number, a NaN (a record the meter could not measure), an infinity, a number.
    const TrendQuantity* t1 = FindTrendQuantity(QStringLiteral("t1_1"));
    ASSERT_NE(t1, nullptr);
    std::vector<RangeRecord> records;
    const float values[] = {70.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            72.5f};
    for (int hour = 0; hour < 4; ++hour) {
        RangeRecord record{};
        record.date = Chrono(1, 3, 2024, hour);
        record.record.date = record.date;
        record.record.pipes[0].t = values[hour];
        records.push_back(record);
    }
    TrendChart chart = BuildTrendChart(records, {t1});
    std::unique_ptr<QChart> owner(chart.chart);
    const QList<QPointF> points = chart.series.at(0).line->points();
    ASSERT_EQ(points.size(), 2);
    EXPECT_EQ(points[0], QPointF(double(TrendTime(records[0].date)), 70.5));
    EXPECT_EQ(points[1], QPointF(double(TrendTime(records[3].date)), 72.5));
    EXPECT_LE(chart.series[0].axis->min(), 70.5);
    EXPECT_GE(chart.series[0].axis->max(), 72.5);
    EXPECT_TRUE(std::isfinite(chart.series[0].axis->max()));
    // The hover at the missing hour still names it, with no number.
    EXPECT_TRUE(TrendPointText(records[1], *t1).startsWith(QStringLiteral("01.03.2024 01:00  t1 = ")));
}

}  // namespace
