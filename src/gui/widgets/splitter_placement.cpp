#include "gui/widgets/splitter_placement.h"

#include "base/setting_value.h"
#include "base/settings_sections.h"

#include <QList>
#include <QSplitter>

namespace {

const QString kSplitterKey = QStringLiteral("SplitterPosition");

}  // namespace

SplitterPlacement::SplitterPlacement(SettingsStore& store, const QString& windowName)
    : m_store(store),
      m_section(SettingsSection(store, SettingsSections::kScreen)
                    .Child(windowName.isEmpty() ? QStringLiteral("SettingsDialog") : windowName)
                    .Name())
{}

bool SplitterPlacement::Restore(QSplitter& splitter, int designedWidth) const
{
    const int offset = m_store.GetInt(m_section, kSplitterKey, kNoSplitterPosition);
    const QList<int> sizes = splitter.sizes();
    if (sizes.size() != 2)
        return false;
    const int total = sizes[0] + sizes[1];
    const int first = designedWidth + offset;
    // An offset that would squeeze either pane below its minimum (the default among them) is ignored.
    if (first < kMinPaneWidth || total - first < kMinPaneWidth)
        return false;
    splitter.setSizes({first, total - first});
    return true;
}

bool SplitterPlacement::Store(const QSplitter& splitter, int designedWidth) const
{
    const QList<int> sizes = splitter.sizes();
    if (sizes.size() != 2)
        return false;
    return m_store.SetInt(m_section, kSplitterKey, sizes[0] - designedWidth);
}
