#include "gui/archives/trend_chart_builder.h"

#include <QChart>
#include <QColor>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>

namespace {

constexpr qint64 kHourMs = 3600 * 1000;

struct UnitAxis {
    QValueAxis* axis = nullptr;
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();

    void Take(double value)
    {
        min = std::min(min, value);
        max = std::max(max, value);
    }
};

// One axis per unit, in the order the units first come among the quantities, alternately left and right.
UnitAxis& AxisFor(TrendUnit unit, QChart* chart, std::map<TrendUnit, UnitAxis>& axes)
{
    UnitAxis& entry = axes[unit];
    if (!entry.axis) {
        entry.axis = new QValueAxis;
        entry.axis->setTitleText(TrendUnitText(unit));
        entry.axis->setLabelFormat(QStringLiteral("%.6g"));
        chart->addAxis(entry.axis, axes.size() % 2 == 1 ? Qt::AlignLeft : Qt::AlignRight);
    }
    return entry;
}

// A range with some air above and below, and never an empty one (which the axis cannot draw).
void SetValueRange(UnitAxis& entry)
{
    double min = entry.min;
    double max = entry.max;
    if (!(min <= max)) {
        min = 0;
        max = 1;
    } else if (min == max) {
        const double spread = std::max(std::abs(min) * 0.05, 1.0);
        min -= spread;
        max += spread;
    } else {
        const double margin = (max - min) * 0.05;
        min -= margin;
        max += margin;
    }
    entry.axis->setRange(min, max);
    entry.axis->applyNiceNumbers();
}

// The lines' colours, told apart from each other and from the red of the НС markers (the chart theme's
// own cycle has a red-brown and repeats after five).
constexpr QRgb kLineColours[] = {0x1f77b4, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x17becf,
                                 0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22};

QLineSeries* LineOf(const TrendQuantity& quantity, QList<QPointF>&& points, int index)
{
    auto* line = new QLineSeries;
    line->setColor(QColor::fromRgb(kLineColours[index % int(std::size(kLineColours))]));
    line->setName(quantity.label + QStringLiteral(", ") + TrendUnitText(quantity.unit));
    // One call for all points: a point at a time would redraw and signal for each.
    line->replace(points);
    return line;
}

QScatterSeries* FlaggedOf(const TrendQuantity& quantity, QList<QPointF>&& points)
{
    auto* flagged = new QScatterSeries;
    flagged->setName(quantity.label + QStringLiteral(" НС"));
    flagged->setColor(Qt::red);
    flagged->setBorderColor(Qt::darkRed);
    flagged->setMarkerSize(8);
    flagged->replace(points);
    return flagged;
}

}  // namespace

QDateTime TrendDateTime(const TChronoArch& date)
{
    return QDateTime(QDate(date.year + kBaseYear, date.month, date.day), QTime(date.hour, 0));
}

qint64 TrendTime(const TChronoArch& date)
{
    return TrendDateTime(date).toMSecsSinceEpoch();
}

TrendChart BuildTrendChart(const std::vector<RangeRecord>& records, const TrendSelection& quantities,
                           const QString& title)
{
    TrendChart result;
    result.chart = new QChart;
    result.chart->setTitle(title);
    result.chart->legend()->setAlignment(Qt::AlignBottom);
    result.times.reserve(records.size());
    for (const RangeRecord& record : records)
        result.times.push_back(TrendTime(record.date));
    if (!result.times.empty()) {
        result.first = result.times.front();
        result.last = result.times.back();
    }
    if (result.last <= result.first) {
        // One record (or none) still gets a time axis to stand on.
        result.first -= kHourMs;
        result.last += kHourMs;
    }

    result.timeAxis = new QDateTimeAxis;
    result.timeAxis->setFormat(TimeAxisFormat(result.last - result.first));
    result.timeAxis->setTickCount(7);
    result.chart->addAxis(result.timeAxis, Qt::AlignBottom);

    std::map<TrendUnit, UnitAxis> axes;
    for (const TrendQuantity* quantity : quantities) {
        UnitAxis& unitAxis = AxisFor(quantity->unit, result.chart, axes);
        const bool hasFlags = quantity->flagged != FlaggedQuantity::Unflagged;
        QList<QPointF> points;
        QList<QPointF> marks;
        points.reserve(qsizetype(records.size()));
        for (std::size_t i = 0; i < records.size(); ++i) {
            const double value = TrendValue(*quantity, records[i].record);
            if (!std::isfinite(value))
                continue;
            const QPointF point(double(result.times[i]), value);
            points.append(point);
            unitAxis.Take(value);
            if (hasFlags && TrendFlags(*quantity, records[i].record) != 0)
                marks.append(point);
        }

        TrendSeries series;
        series.quantity = quantity;
        series.axis = unitAxis.axis;
        series.line = LineOf(*quantity, std::move(points), int(result.series.size()));
        result.chart->addSeries(series.line);
        series.line->attachAxis(result.timeAxis);
        series.line->attachAxis(series.axis);
        if (hasFlags) {
            const bool anyFlagged = !marks.isEmpty();
            series.flagged = FlaggedOf(*quantity, std::move(marks));
            result.chart->addSeries(series.flagged);
            series.flagged->attachAxis(result.timeAxis);
            series.flagged->attachAxis(series.axis);
            // The legend names the markers only where there are some.
            for (QLegendMarker* marker : result.chart->legend()->markers(series.flagged))
                marker->setVisible(anyFlagged);
        }
        result.series.push_back(series);
    }

    // Set last: attaching a series fits the axes to it alone.
    result.timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(result.first),
                              QDateTime::fromMSecsSinceEpoch(result.last));
    for (auto& [unit, unitAxis] : axes)
        SetValueRange(unitAxis);
    return result;
}

QString TimeAxisFormat(qint64 spanMs)
{
    constexpr qint64 kDayMs = 24 * kHourMs;
    // Up to about ten days the ticks fall between midnights, so they carry their hour.
    if (spanMs <= 10 * kDayMs)
        return QStringLiteral("dd.MM hh:mm");
    if (spanMs <= 400 * kDayMs)
        return QStringLiteral("dd.MM.yy");
    return QStringLiteral("MM.yyyy");
}

int NearestRecord(const std::vector<qint64>& times, double x)
{
    if (times.empty())
        return -1;
    const auto after = std::lower_bound(times.begin(), times.end(), x,
                                        [](qint64 time, double value) { return double(time) < value; });
    if (after == times.begin())
        return 0;
    if (after == times.end())
        return int(times.size()) - 1;
    const auto before = after - 1;
    return int((x - double(*before) <= double(*after) - x ? before : after) - times.begin());
}

QString TrendPointText(const RangeRecord& record, const TrendQuantity& quantity)
{
    const TChronoArch& date = record.date;
    QString text = QString::asprintf("%02d.%02d.%04d %02d:00", date.day, date.month, date.year + kBaseYear, date.hour);
    text += QStringLiteral("  %1 = %2 %3")
                .arg(quantity.label, RangeNumberText(float(TrendValue(quantity, record.record))),
                     TrendUnitText(quantity.unit));
    if (quantity.flagged != FlaggedQuantity::Unflagged) {
        const QString flags = TrendFlagText(quantity, record.record);
        text += QStringLiteral("  НС: ") + (flags.isEmpty() ? QStringLiteral("нет") : flags);
    }
    return text;
}
