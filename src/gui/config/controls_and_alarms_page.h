#pragma once
// The controls-and-alarms page: the four limit controls ("Контроли:") and the alarm events sent to each
// COM port and server ("Алармы:"). It edits the driver's controls block in place.

#include "gui/widgets/page_base.h"

class AlarmsCheckLists;
class CtrlsEditorBox;
struct ControlsBlock;

class CDlgMainConfigCtrlsAndAlarms : public CDlgParentWithMyProperty {
    Q_OBJECT

public:
    explicit CDlgMainConfigCtrlsAndAlarms(PageHost& host, QWidget* parent = nullptr);

    void OnPageShown() override;
    void OnConfigurationReplaced() override;

    CtrlsEditorBox* Controls() const { return m_controls; }
    AlarmsCheckLists* Alarms() const { return m_alarms; }

private:
    ControlsBlock& Block() const;
    void Reload();

    bool m_loading = false;
    CtrlsEditorBox* m_controls;
    AlarmsCheckLists* m_alarms;
};
