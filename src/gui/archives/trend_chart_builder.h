#pragma once
// From a stretch of archive records and the chosen quantities, the chart that shows them: one time axis
// at the bottom, one value axis per unit among the quantities (alternately left and right), a line per
// quantity in colours of its own (none of them red) and, for a quantity that has flags, red markers at the records that flag it ("t1 НС"). The
// chart keeps the records' times so a point under the cursor finds its record again.
//
// Values that are not numbers are left out of the lines (the line joins the neighbours across them).
// Times are the meter's wall-clock hours on this machine's calendar, as the time axis labels them.

#include "archives/range_table.h"

#include <QDateTime>
#include <QString>

#include <vector>

QT_BEGIN_NAMESPACE
class QChart;
class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
QT_END_NAMESPACE

struct TrendSeries {
    const TrendQuantity* quantity = nullptr;
    QLineSeries* line = nullptr;
    QScatterSeries* flagged = nullptr;  // null for a quantity that has no flags
    QValueAxis* axis = nullptr;         // shared by the quantities of one unit
};

struct TrendChart {
    QChart* chart = nullptr;  // the caller owns it (a chart view takes it over)
    QDateTimeAxis* timeAxis = nullptr;
    std::vector<TrendSeries> series;
    std::vector<qint64> times;  // the x of every record, in ms since the epoch, oldest first
    qint64 first = 0;           // the whole stretch, for a reset of the zoom
    qint64 last = 0;
};

// The x of a record date.
qint64 TrendTime(const TChronoArch& date);
QDateTime TrendDateTime(const TChronoArch& date);

// `title` goes on the chart (and so on its picture): the archive, the serial and the stretch.
TrendChart BuildTrendChart(const std::vector<RangeRecord>& records, const TrendSelection& quantities,
                           const QString& title = QString());

// How the time axis labels a shown stretch of `spanMs`: day and hour up to about ten days, days up to a year,
// months beyond (short enough for the labels to fit their ticks).
QString TimeAxisFormat(qint64 spanMs);

// The record whose time is nearest to `x`; -1 when there are none.
int NearestRecord(const std::vector<qint64>& times, double x);

// What the tooltip says about a quantity at a record: "dd.MM.yyyy hh:00  t1 = 90,123 °C  НС: >"
// ("НС: нет" when the record does not flag it; no НС part for a quantity without flags).
QString TrendPointText(const RangeRecord& record, const TrendQuantity& quantity);
