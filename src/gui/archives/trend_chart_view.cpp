#include "gui/archives/trend_chart_view.h"

#include <QChart>
#include <QCursor>
#include <QDateTimeAxis>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kWheelZoomIn = 0.8;             // one wheel notch shows 80 % of the stretch
constexpr double kPanStep = 0.1;                 // an arrow key moves by a tenth of the stretch
constexpr qint64 kShortestSpanMs = 3600 * 1000;  // zooming in stops at an hour
constexpr int kMaxTimeTicks = 7;
constexpr int kTimeLabelRoom = 40;  // pixels between two time labels

}  // namespace

TrendChartView::TrendChartView(QWidget* parent) : QChartView(parent)
{
    setRubberBand(QChartView::HorizontalRubberBand);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void TrendChartView::ShowChart(TrendChart chart, std::vector<RangeRecord> records)
{
    QChart* previous = QChartView::chart();
    m_chart = std::move(chart);
    m_records = std::move(records);
    m_hoverText.clear();
    setChart(m_chart.chart);
    // The view lets the old chart go without deleting it.
    delete previous;
    for (const TrendSeries& series : m_chart.series)
        WireHover(series);
    // Labels as fine as the shown stretch asks for, however it was reached (rubber band, wheel, keys).
    QDateTimeAxis* axis = m_chart.timeAxis;
    connect(axis, &QDateTimeAxis::rangeChanged, this, [this, axis](const QDateTime& from, const QDateTime& to) {
        axis->setFormat(TimeAxisFormat(from.msecsTo(to)));
        FitTimeTicks();
    });
    FitTimeTicks();
}

void TrendChartView::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    FitTimeTicks();
}

void TrendChartView::FitTimeTicks()
{
    QDateTimeAxis* axis = m_chart.timeAxis;
    if (!axis || !m_chart.chart)
        return;
    // The widest label the format can give ("28.12 23:59"), with room on both sides.
    const QString sample = QDateTime(QDate(2028, 12, 28), QTime(23, 58)).toString(axis->format());
    const int labelWidth = QFontMetrics(axis->labelsFont()).horizontalAdvance(sample) + kTimeLabelRoom;
    const int plotWidth = int(m_chart.chart->plotArea().width() > 0 ? m_chart.chart->plotArea().width() : width());
    axis->setTickCount(std::clamp(plotWidth / std::max(labelWidth, 1) + 1, 2, kMaxTimeTicks));
}

std::pair<qint64, qint64> TrendChartView::TimeRange() const
{
    if (!m_chart.timeAxis)
        return {0, 0};
    return {m_chart.timeAxis->min().toMSecsSinceEpoch(), m_chart.timeAxis->max().toMSecsSinceEpoch()};
}

void TrendChartView::SetTimeRange(qint64 from, qint64 to)
{
    if (!m_chart.timeAxis)
        return;
    const qint64 whole = m_chart.last - m_chart.first;
    qint64 span = std::clamp(to - from, std::min(kShortestSpanMs, whole), whole);
    // The shown stretch stays inside the records: a zoom or pan past an end stops there.
    from = std::clamp(from + (to - from - span) / 2, m_chart.first, m_chart.last - span);
    m_chart.timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(from), QDateTime::fromMSecsSinceEpoch(from + span));
}

void TrendChartView::ResetZoom()
{
    SetTimeRange(m_chart.first, m_chart.last);
}

void TrendChartView::ZoomAround(double centre, double factor)
{
    const auto [from, to] = TimeRange();
    const double newFrom = centre - (centre - double(from)) * factor;
    const double newTo = centre + (double(to) - centre) * factor;
    // At the shortest span a zoom in would only slide the stretch.
    if (factor < 1 && to - from <= kShortestSpanMs)
        return;
    SetTimeRange(std::llround(newFrom), std::llround(newTo));
}

void TrendChartView::Pan(double fraction)
{
    const auto [from, to] = TimeRange();
    const qint64 shift = std::llround(double(to - from) * fraction);
    SetTimeRange(from + shift, to + shift);
}

double TrendChartView::TimeAt(const QPoint& position) const
{
    const auto [from, to] = TimeRange();
    const QRectF area = QChartView::chart()->plotArea();
    const QPointF scene = mapToScene(position);
    if (area.width() <= 0 || scene.x() < area.left() || scene.x() > area.right())
        return (double(from) + double(to)) / 2;
    return double(from) + (scene.x() - area.left()) / area.width() * double(to - from);
}

QString TrendChartView::HoverText(const TrendQuantity& quantity, const QPointF& point) const
{
    const int index = NearestRecord(m_chart.times, point.x());
    return index < 0 ? QString() : TrendPointText(m_records[std::size_t(index)], quantity);
}

void TrendChartView::WireHover(const TrendSeries& series)
{
    const TrendQuantity* quantity = series.quantity;
    connect(series.line, &QLineSeries::hovered, this,
            [this, quantity](const QPointF& point, bool state) { ShowHover(*quantity, point, state); });
    if (series.flagged) {
        connect(series.flagged, &QScatterSeries::hovered, this,
                [this, quantity](const QPointF& point, bool state) { ShowHover(*quantity, point, state); });
    }
}

void TrendChartView::ShowHover(const TrendQuantity& quantity, const QPointF& point, bool state)
{
    if (!state) {
        QToolTip::hideText();
        return;
    }
    m_hoverText = HoverText(quantity, point);
    QToolTip::showText(QCursor::pos(), m_hoverText, this);
}

void TrendChartView::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0 || !m_chart.timeAxis) {
        event->ignore();
        return;
    }
    ZoomAround(TimeAt(event->position().toPoint()), std::pow(kWheelZoomIn, notches));
    event->accept();
}

void TrendChartView::mousePressEvent(QMouseEvent* event)
{
    // The right and middle buttons move the stretch; the left one draws the rubber band.
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        m_panning = true;
        m_panFrom = event->position().toPoint();
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void TrendChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_panning) {
        const double width = QChartView::chart()->plotArea().width();
        const QPoint now = event->position().toPoint();
        if (width > 0)
            Pan(-double(now.x() - m_panFrom.x()) / width);
        m_panFrom = now;
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void TrendChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_panning && (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton)) {
        m_panning = false;
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void TrendChartView::keyPressEvent(QKeyEvent* event)
{
    const auto [from, to] = TimeRange();
    const double middle = (double(from) + double(to)) / 2;
    switch (event->key()) {
        case Qt::Key_Left:
            Pan(-kPanStep);
            break;
        case Qt::Key_Right:
            Pan(kPanStep);
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomAround(middle, kWheelZoomIn);
            break;
        case Qt::Key_Minus:
            ZoomAround(middle, 1 / kWheelZoomIn);
            break;
        case Qt::Key_Home:
            ResetZoom();
            break;
        default:
            QChartView::keyPressEvent(event);
            return;
    }
    event->accept();
}
