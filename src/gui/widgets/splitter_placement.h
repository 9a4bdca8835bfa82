#pragma once
// Where the page splitter of a window stands: "SplitterPosition" in "Settings\Screen\<window name>",
// the splitter's offset in pixels from its designed place.

#include "base/settings_store.h"

#include <QString>

class QSplitter;

class SplitterPlacement {
public:
    static constexpr int kNoSplitterPosition = -1000;  // read when nothing is stored
    static constexpr int kMinPaneWidth = 100;          // tree pane and page pane alike

    // A window without a name keeps it under "SettingsDialog".
    SplitterPlacement(SettingsStore& store, const QString& windowName);

    // Moves the splitter between its two panes by the stored offset from `designedWidth` (the first
    // pane's designed width), when both panes then keep their minimum width.
    bool Restore(QSplitter& splitter, int designedWidth) const;
    bool Store(const QSplitter& splitter, int designedWidth) const;

private:
    SettingsStore& m_store;
    QString m_section;
};
