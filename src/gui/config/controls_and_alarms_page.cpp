#include "gui/config/controls_and_alarms_page.h"

#include "gui/config/alarms_check_lists.h"
#include "gui/config/ctrls_editor_box.h"
#include "protocol/driver_access.h"

#include <QVBoxLayout>

CDlgMainConfigCtrlsAndAlarms::CDlgMainConfigCtrlsAndAlarms(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent)
{
    const auto block = [this]() -> ControlsBlock& { return Block(); };
    m_controls = new CtrlsEditorBox(block, m_loading, this);
    m_alarms = new AlarmsCheckLists(block, m_loading, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_controls);
    layout->addWidget(m_alarms, 1);
    Reload();
}

ControlsBlock& CDlgMainConfigCtrlsAndAlarms::Block() const
{
    return Host().Driver().Configuration().controls;
}

void CDlgMainConfigCtrlsAndAlarms::OnPageShown()
{
    Reload();
}

void CDlgMainConfigCtrlsAndAlarms::OnConfigurationReplaced()
{
    Reload();
}

void CDlgMainConfigCtrlsAndAlarms::Reload()
{
    m_loading = true;
    m_controls->Load();
    m_alarms->Load();
    m_loading = false;
}
