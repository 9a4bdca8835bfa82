#include "gui/config/scheme_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <vector>

namespace {

// Everything is placed on a 400 x 260 grid and scaled to the area.
constexpr int kGridWidth = 400;
constexpr int kGridHeight = 260;
const QRect kPlantBox(8, 40, 84, 130);
const QRect kConsumerBox(308, 40, 84, 130);
constexpr int kConsumerBottom = 170;
constexpr int kSupplyY = 70;
constexpr int kReturnY = 140;
constexpr int kTopRouteY = 16;
constexpr int kBottomRouteY = 206;
const QRect kCaptionBox(0, 232, kGridWidth, 26);

const QColor kSupplyColour(200, 40, 40);
const QColor kReturnColour(40, 80, 200);
const QColor kHotWaterColour(220, 130, 0);
const QColor kColdWaterColour(0, 150, 160);

enum class Side { kAbove, kBelow };

struct Segment {
    QPointF from;
    QPointF to;
};

class Painter {
public:
    Painter(QPainter& painter, QStringList* drawn) : m_p(painter), m_drawn(drawn) {}

    void Text(const QRectF& box, int flags, const QString& text)
    {
        m_p.setPen(Qt::black);
        m_p.drawText(box, flags, text);
        if (m_drawn)
            m_drawn->append(text);
    }

    void Box(const QRect& box, const QColor& fill, const QString& text)
    {
        m_p.setPen(QPen(Qt::black, 1.5));
        m_p.setBrush(fill);
        m_p.drawRect(box);
        Text(box.adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap, text);
    }

    void Line(const std::vector<QPointF>& points, const QColor& colour)
    {
        m_p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawPolyline(points.data(), int(points.size()));
    }

    // A filled arrow head at `at` pointing from `from` towards `to`.
    void Arrow(const Segment& along, const QPointF& at, const QColor& colour)
    {
        QPointF direction = along.to - along.from;
        const double length = std::hypot(direction.x(), direction.y());
        direction /= length;
        const QPointF normal(-direction.y(), direction.x());
        QPolygonF head;
        head << at + direction * 7 << at - direction * 5 + normal * 6 << at - direction * 5 - normal * 6;
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(colour);
        m_p.drawPolygon(head);
    }

    // The measuring points of a straight stretch, spread from its start, labelled on one side.
    void Points(const Segment& stretch, const QStringList& labels, Side side)
    {
        for (int i = 0; i < labels.size(); ++i) {
            const QPointF at = stretch.from + (stretch.to - stretch.from) * ((i + 1.0) / (labels.size() + 1.0));
            Point(at, labels[i], side);
        }
    }

    void Point(const QPointF& at, const QString& label, Side side)
    {
        m_p.setPen(QPen(Qt::black, 1.2));
        m_p.setBrush(Qt::white);
        switch (label.front().unicode()) {
            case u'P':
                m_p.drawRect(QRectF(at.x() - 5, at.y() - 5, 10, 10));
                break;
            case u'V':
                m_p.drawRect(QRectF(at.x() - 8, at.y() - 6, 16, 12));
                m_p.drawLine(QPointF(at.x() - 8, at.y() + 6), QPointF(at.x() + 8, at.y() - 6));
                break;
            default:  // temperatures
                m_p.drawEllipse(at, 5, 5);
                break;
        }
        const QRectF box(at.x() - 20, side == Side::kAbove ? at.y() - 22 : at.y() + 8, 40, 14);
        Text(box, Qt::AlignCenter, label);
    }

private:
    QPainter& m_p;
    QStringList* m_drawn;
};

void DrawSupplyAndReturn(Painter& painter, const SchemePictureLayout& layout)
{
    const double left = kPlantBox.right();
    const double right = kConsumerBox.left();
    if (layout.pipeDrawn[0]) {
        const Segment supply{{left, kSupplyY}, {right, kSupplyY}};
        painter.Line({supply.from, supply.to}, kSupplyColour);
        painter.Arrow(supply, {280, kSupplyY}, kSupplyColour);
        painter.Points({{left, kSupplyY}, {250, kSupplyY}}, layout.PointLabels(0), Side::kAbove);
    }
    if (layout.pipeDrawn[1]) {
        // Water that comes back flows towards the plant; at a dead end it too runs to the taps.
        const Segment flow = layout.deadEnd ? Segment{{left, kReturnY}, {right, kReturnY}}
                                            : Segment{{right, kReturnY}, {left, kReturnY}};
        painter.Line({flow.from, flow.to}, kReturnColour);
        painter.Arrow(flow, {280, kReturnY}, kReturnColour);
        painter.Points({{left, kReturnY}, {250, kReturnY}}, layout.PointLabels(1), Side::kBelow);
    }
}

// Pipe 3: its route, the stretch carrying its points, where its arrow sits and its end text.
struct Pipe3Route {
    std::vector<QPointF> route;
    Segment points;
    Side side;
    Segment arrowAlong;
    QPointF arrowAt;
    QColor colour;
    QRectF textBox;
    const char* text;
};

Pipe3Route RouteOf(Pipe3Role role)
{
    switch (role) {
        case Pipe3Role::kDrawOffFromSupply:
            return {{{236, kSupplyY}, {236, kTopRouteY}, {392, kTopRouteY}},
                    {{236, kTopRouteY}, {356, kTopRouteY}},
                    Side::kBelow,
                    {{236, kTopRouteY}, {392, kTopRouteY}},
                    {382, kTopRouteY},
                    kHotWaterColour,
                    {352, 0, 46, 14},
                    "ГВС"};
        case Pipe3Role::kDrawOffFromReturn:
            return {{{236, kReturnY}, {236, kBottomRouteY}, {392, kBottomRouteY}},
                    {{236, kBottomRouteY}, {356, kBottomRouteY}},
                    Side::kBelow,
                    {{236, kBottomRouteY}, {392, kBottomRouteY}},
                    {382, kBottomRouteY},
                    kHotWaterColour,
                    {352, 188, 46, 14},
                    "ГВС"};
        case Pipe3Role::kCirculation:
            return {{{350, kConsumerBottom}, {350, kBottomRouteY}, {262, kBottomRouteY}, {262, kReturnY}},
                    {{350, kBottomRouteY}, {262, kBottomRouteY}},
                    Side::kBelow,
                    {{262, kBottomRouteY}, {262, kReturnY}},
                    {262, 175},
                    kHotWaterColour,
                    {170, 168, 88, 14},
                    "Циркуляция"};
        case Pipe3Role::kMakeUpIntoReturn:
            return {{{100, kBottomRouteY}, {240, kBottomRouteY}, {240, kReturnY}},
                    {{100, kBottomRouteY}, {240, kBottomRouteY}},
                    Side::kBelow,
                    {{240, kBottomRouteY}, {240, kReturnY}},
                    {240, 175},
                    kColdWaterColour,
                    {100, 186, 80, 14},
                    "Подпитка"};
        case Pipe3Role::kSeparateLine:
            return {{{350, kConsumerBottom}, {350, kBottomRouteY}, {100, kBottomRouteY}},
                    {{350, kBottomRouteY}, {100, kBottomRouteY}},
                    Side::kBelow,
                    {{350, kBottomRouteY}, {100, kBottomRouteY}},
                    {112, kBottomRouteY},
                    kHotWaterColour,
                    {100, 186, 60, 14},
                    "ГВС"};
        case Pipe3Role::kNone:
            break;
    }
    return {};
}

void DrawPipe3(Painter& painter, const SchemePictureLayout& layout)
{
    if (!layout.pipeDrawn[2] || layout.pipe3 == Pipe3Role::kNone)
        return;
    const Pipe3Route route = RouteOf(layout.pipe3);
    painter.Line(route.route, route.colour);
    painter.Arrow(route.arrowAlong, route.arrowAt, route.colour);
    painter.Text(route.textBox, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(route.text));
    painter.Points(route.points, layout.PointLabels(2), route.side);
}

void DrawColdWaterPoint(Painter& painter)
{
    const QPointF at(40, kBottomRouteY);
    painter.Line({{14, kBottomRouteY}, {66, kBottomRouteY}}, kColdWaterColour);
    painter.Point(at, QString::fromUtf8(kColdWaterPointLabel), Side::kBelow);
}

}  // namespace

void PaintSchemePicture(QPainter& raw, const QRect& area, const SchemePictureLayout& layout, const QString& caption,
                        QStringList* drawn)
{
    raw.save();
    raw.setRenderHint(QPainter::Antialiasing);
    raw.setViewport(area);
    raw.setWindow(0, 0, kGridWidth, kGridHeight);
    raw.fillRect(QRect(0, 0, kGridWidth, kGridHeight), Qt::white);
    QFont font = raw.font();
    font.setPixelSize(11);
    raw.setFont(font);

    Painter painter(raw, drawn);
    if (layout.scheme != 0) {
        painter.Box(kPlantBox, layout.plant == PlantSide::kHeatSource ? QColor(250, 220, 200) : QColor(225, 225, 225),
                    layout.plantText);
        painter.Box(kConsumerBox, QColor(255, 250, 215), layout.consumerText);
        DrawSupplyAndReturn(painter, layout);
        DrawPipe3(painter, layout);
        if (layout.coldWaterPoint)
            DrawColdWaterPoint(painter);
    }
    font.setBold(true);
    font.setPixelSize(13);
    raw.setFont(font);
    painter.Text(kCaptionBox, Qt::AlignCenter, caption);
    raw.restore();
}

QImage RenderSchemePicture(int scheme, const QString& caption, QSize size, QStringList* drawn)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintSchemePicture(painter, image.rect(), SchemePictureLayoutOf(scheme), caption, drawn);
    return image;
}

CSchemePicture::CSchemePicture(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(kSchemePictureSize / 2);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CSchemePicture::SetPicture(int scheme, const QString& caption)
{
    m_layout = SchemePictureLayoutOf(scheme);
    m_caption = caption;
    update();
}

void CSchemePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Keep the grid's proportions: the picture sits centred in whatever room the page gives it.
    QSize fitted = kSchemePictureSize.scaled(size(), Qt::KeepAspectRatio);
    const QRect area(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    m_drawn.clear();
    PaintSchemePicture(painter, area, m_layout, m_caption, &m_drawn);
}
