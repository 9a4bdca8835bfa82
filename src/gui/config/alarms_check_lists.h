#pragma once
// The box "Алармы:" of the controls-and-alarms page: one tab per COM port and server, each with the
// check list of the 25 alarm events of its alarm entry (row n checked: bit n - 1 of the event mask set).

#include "config/device_blocks.h"

#include <QGroupBox>

#include <array>
#include <functional>

class CTabCtrlWithDisable;
class QTreeWidget;

class AlarmsCheckLists : public QGroupBox {
    Q_OBJECT

public:
    AlarmsCheckLists(std::function<ControlsBlock&()> controls, const bool& loading, QWidget* parent = nullptr);

    // The check marks of every tab from the block.
    void Load();

    CTabCtrlWithDisable* Tabs() const { return m_tabs; }

private:
    QTreeWidget* MakeList(int entry);

    std::function<ControlsBlock&()> m_controls;
    const bool& m_loading;
    CTabCtrlWithDisable* m_tabs;
    std::array<QTreeWidget*, kAlarmEntryCount> m_lists{};
};
