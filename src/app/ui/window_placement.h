#pragma once
// Window placements in the settings store: section "Settings\Screen\<window name>", key "Position"
// (the window's geometry bytes, stored as binary) and, for a window with a page splitter,
// "SplitterPosition" (how far the splitter stands from its designed place, in pixels).

#include "app/settings_store.h"

#include <QString>

class QSplitter;
class QWidget;

class WindowPlacement {
public:
    static constexpr int kNoSplitterPosition = -1000;  // read when nothing is stored
    static constexpr int kMinPaneWidth = 100;          // tree pane and page pane alike

    // A window without a name keeps its placement under "SettingsDialog".
    WindowPlacement(SettingsStore& store, const QString& windowName);

    // Restores the stored placement; false (the window keeps its default place and size) when none is
    // stored or it cannot be applied.
    bool RestoreWindow(QWidget& window) const;
    bool StoreWindow(const QWidget& window) const;

    // Moves the splitter between its two panes by the stored offset from `designedWidth` (the first
    // pane's designed width), when both panes then keep their minimum width.
    bool RestoreSplitter(QSplitter& splitter, int designedWidth) const;
    bool StoreSplitter(const QSplitter& splitter, int designedWidth) const;

private:
    SettingsStore& m_store;
    QString m_section;
};
