#pragma once
// The bottom strip of the main window, between two rules: the text about the chosen node and the two
// exchange lamps. A block sent or received lights its lamp for 50 ms.

#include "protocol/driver_host.h"

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>

class QLabel;

class StatusStrip : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLampSize = 12;
    static constexpr int kLitMs = 50;

    explicit StatusStrip(QWidget* parent = nullptr);

    void SetStatusText(const QString& text);
    QString StatusText() const;

    // Lights the lamp (again) for kLitMs.
    void Flash(DriverHost::Lamp lamp);
    bool IsLit(DriverHost::Lamp lamp) const;
    // How often the lamp has been lit since the window opened.
    int FlashCount(DriverHost::Lamp lamp) const;

private:
    struct LampControl {
        QLabel* label = nullptr;
        QTimer darken;
        QPixmap lit;
        QPixmap dark;
        bool isLit = false;
        int flashes = 0;
    };

    void SetLit(LampControl& lamp, bool lit);

    QLabel* m_status;
    std::array<LampControl, 2> m_lamps;
};
