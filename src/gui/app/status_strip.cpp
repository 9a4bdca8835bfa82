#include "gui/app/status_strip.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// A round lamp in `colour` with a darker rim, drawn for the 12 x 12 status icons.
QPixmap LampPixmap(const QColor& colour)
{
    QPixmap pixmap(StatusStrip::kLampSize, StatusStrip::kLampSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(180), 1));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(0.5, 0.5, StatusStrip::kLampSize - 1, StatusStrip::kLampSize - 1));
    return pixmap;
}

QFrame* Rule()
{
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    return rule;
}

}  // namespace

StatusStrip::StatusStrip(QWidget* parent) : QWidget(parent), m_status(new QLabel)
{
    m_status->setObjectName(QStringLiteral("statusText"));
    auto* row = new QHBoxLayout;
    row->addWidget(m_status, 1);
    const QColor litColours[] = {QColor(0xE0, 0x30, 0x20), QColor(0x20, 0xC0, 0x30)};  // transmit, receive
    const char* names[] = {"transmitLamp", "receiveLamp"};
    for (std::size_t i = 0; i < m_lamps.size(); ++i) {
        LampControl& lamp = m_lamps[i];
        lamp.lit = LampPixmap(litColours[i]);
        lamp.dark = LampPixmap(QColor(0x50, 0x50, 0x50));
        lamp.label = new QLabel;
        lamp.label->setObjectName(QString::fromLatin1(names[i]));
        lamp.label->setFixedSize(kLampSize, kLampSize);
        lamp.label->setPixmap(lamp.dark);
        lamp.darken.setSingleShot(true);
        lamp.darken.setInterval(kLitMs);
        connect(&lamp.darken, &QTimer::timeout, this, [this, &lamp] { SetLit(lamp, false); });
        row->addWidget(lamp.label);
    }
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Rule());
    column->addLayout(row);
    column->addWidget(Rule());
}

void StatusStrip::SetStatusText(const QString& text)
{
    m_status->setText(text);
}

QString StatusStrip::StatusText() const
{
    return m_status->text();
}

void StatusStrip::Flash(DriverHost::Lamp lamp)
{
    LampControl& control = m_lamps[lamp == DriverHost::kTransmitLamp ? 0 : 1];
    ++control.flashes;
    SetLit(control, true);
    control.darken.start();
}

bool StatusStrip::IsLit(DriverHost::Lamp lamp) const
{
    return m_lamps[lamp == DriverHost::kTransmitLamp ? 0 : 1].isLit;
}

int StatusStrip::FlashCount(DriverHost::Lamp lamp) const
{
    return m_lamps[lamp == DriverHost::kTransmitLamp ? 0 : 1].flashes;
}

void StatusStrip::SetLit(LampControl& lamp, bool lit)
{
    lamp.isLit = lit;
    lamp.label->setPixmap(lit ? lamp.lit : lamp.dark);
}
