#pragma once
// Keeps a top-level window's placement in the settings store: puts the window where the stored record
// says, and stores the record again after each move or resize the window goes through on screen.

#include "base/setting_value.h"

#include <QObject>

class QWidget;

class WindowPlacementKeeper : public QObject {
public:
    // Whether the placement is stored while the window is maximised (the normal rectangle with the
    // maximised state) or only in the normal state.
    enum class WhenMaximised { Store, Skip };

    // Keeps the placement of `window` in "Position" of "Settings\Screen\<windowName>".
    WindowPlacementKeeper(QWidget* window, SettingsStore& settings, const QString& windowName,
                          WhenMaximised whenMaximised);

    // Applies the stored placement, if any is readable; call before the window is shown.
    void Restore();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Store();

    QWidget* m_window;
    SettingValue<QByteArray> m_position;
    WhenMaximised m_whenMaximised;
};
