// The main window's node flows: choosing a node for "Установить связь", and the node of the demo meter.

#include "app/ui/main_dialog.h"
#include "app/ui/node_chooser_dialog.h"
#include "app/ui/status_strip.h"
#include "nodes/apply_node.h"

bool MainDialog::SelectNode()
{
    // The channel settings belong to the command thread while a command runs.
    if (m_driver.IsBusy())
        return false;
    UserMessage failure;
    if (!m_environment.LoadNodeBase(m_base, &failure)) {
        Show(failure);
        return false;
    }
    NodeChooserDialog chooser(m_base, m_nodeIndex, this);
    if (chooser.exec() != QDialog::Accepted)
        return false;
    const int index = chooser.SelectedIndex();
    if (!m_base.IsValidIndex(index))
        return false;
    if (!m_environment.SaveNodeBase(m_base, &failure)) {
        Show(failure);
        return false;
    }
    ApplyNode(index);
    return true;
}

void MainDialog::ApplyNode(int index)
{
    const NodeRecord& node = m_base.At(index).record;
    ApplyNodeToChannel(node, m_driver.TransmitChanel().Settings());
    const NodeTarget target = TargetOfNode(node);
    m_driver.SetDeviceAddress(target.networkAddress);
    m_driver.ModbusMaster().SetFunctionSet(target.functionSet);
    m_status->SetStatusText(NodeStatusText(node));
    m_nodeIndex = index;
}

void MainDialog::UseDemoMeter(const DemoMeterAddress& meter)
{
    UserMessage failure;
    // A base that cannot be read is not overwritten: the demo node is then chosen for this run only.
    const bool loaded = m_environment.LoadNodeBase(m_base, &failure);
    const int index = PutDemoNode(m_base, meter);
    if (!loaded || !m_environment.SaveNodeBase(m_base, &failure))
        Show(failure);
    ApplyNode(index);
}
