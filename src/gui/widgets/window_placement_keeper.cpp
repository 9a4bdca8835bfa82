#include "gui/widgets/window_placement_keeper.h"

#include "app/window_placement.h"
#include "base/settings_sections.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

WindowPlacementKeeper::WindowPlacementKeeper(QWidget* window, SettingsStore& settings, const QString& windowName,
                                             WhenMaximised whenMaximised)
    : QObject(window),
      m_window(window),
      m_position(SettingsSection(settings, SettingsSections::kScreen)
                     .Child(windowName)
                     .Value(QStringLiteral("Position"), QByteArray())),
      m_whenMaximised(whenMaximised)
{
    window->installEventFilter(this);
}

void WindowPlacementKeeper::Restore()
{
    WindowPlacement placement;
    if (!WindowPlacement::FromBytes(m_position.Get(), &placement))
        return;
    // A rectangle left on a screen that is gone keeps its size but not its place.
    if (QGuiApplication::screenAt(placement.normal.center()) != nullptr)
        m_window->setGeometry(placement.normal);
    else
        m_window->resize(placement.normal.size());
    if (placement.showState == WindowPlacement::kMaximised)
        m_window->setWindowState(m_window->windowState() | Qt::WindowMaximized);
}

bool WindowPlacementKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        Store();
    return QObject::eventFilter(watched, event);
}

void WindowPlacementKeeper::Store()
{
    // Geometry set up before the window is on screen, or while it is minimised, is not a placement.
    if (!m_window->isVisible() || m_window->isMinimized())
        return;
    const bool maximised = m_window->isMaximized() || m_window->isFullScreen();
    if (maximised && m_whenMaximised == WhenMaximised::Skip)
        return;
    WindowPlacement placement;
    placement.showState = maximised ? WindowPlacement::kMaximised : WindowPlacement::kNormal;
    placement.normal = maximised ? m_window->normalGeometry() : m_window->geometry();
    if (placement.normal.isEmpty())
        return;
    const QByteArray bytes = placement.ToBytes();
    if (bytes != m_position.Get())
        m_position.Set(bytes);
}
