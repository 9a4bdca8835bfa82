#pragma once
// The view of a trend chart: a rubber band along the time axis zooms into the stretch it spans, the
// wheel zooms in and out around the time under the cursor, dragging with the right or middle button
// (or the arrow keys) moves along the time, "+"/"-" zoom around the middle and Home (or ResetZoom)
// shows the whole stretch again. Only the time axis moves: every value axis keeps its range.
// Hovering over a line or a marker shows the record's date, the value and its flags.

#include "gui/archives/trend_chart_builder.h"

#include <QChartView>

class TrendChartView : public QChartView {
    Q_OBJECT

public:
    explicit TrendChartView(QWidget* parent = nullptr);

    // Shows a new chart (the view takes it over) with the records it was built from.
    void ShowChart(TrendChart chart, std::vector<RangeRecord> records);
    const TrendChart& Chart() const { return m_chart; }
    const std::vector<RangeRecord>& Records() const { return m_records; }

    // The time axis's range in ms since the epoch; {0, 0} without a chart.
    std::pair<qint64, qint64> TimeRange() const;
    void SetTimeRange(qint64 from, qint64 to);
    void ResetZoom();
    // factor < 1 zooms in, > 1 out, keeping the time at `centre` where it is on the screen.
    void ZoomAround(double centre, double factor);
    // Moves by a part of the shown stretch (negative: back in time).
    void Pan(double fraction);
    // The time under a point of the view; the middle of the shown stretch outside the plot area.
    double TimeAt(const QPoint& position) const;

    // The tooltip shown last ("" until one was), for whoever checks what the user saw.
    const QString& LastHoverText() const { return m_hoverText; }
    // What the tooltip says for a point of a series (line or markers) of the chart.
    QString HoverText(const TrendQuantity& quantity, const QPointF& point) const;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // As many time ticks as the width holds without cutting their labels.
    void FitTimeTicks();
    void WireHover(const TrendSeries& series);
    void ShowHover(const TrendQuantity& quantity, const QPointF& point, bool state);

    TrendChart m_chart;
    std::vector<RangeRecord> m_records;
    QString m_hoverText;
    bool m_panning = false;
    QPoint m_panFrom;
};
