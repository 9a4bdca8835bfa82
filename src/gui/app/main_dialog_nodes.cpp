// The main window's node flows: choosing a node for "Установить связь", and the node of the demo meter.

#include "app/port_table_settings.h"
#include "channel/port_table.h"
#include "gui/app/main_dialog.h"
#include "gui/app/status_strip.h"
#include "gui/nodes/communications_dialog.h"
#include "nodes/apply_node.h"
#include "nodes/demo_node.h"

bool MainDialog::SelectNode()
{
    // The channel settings belong to the command thread while a command runs.
    if (m_driver.IsBusy())
        return false;
    UserMessage failure;
    if (!m_environment.LoadNodeBase(m_base, &failure, OfferFreshBase())) {
        Show(failure);
        return false;
    }
    CTransmitChanel& channel = m_driver.TransmitChanel();
    // Adapters plugged in since start-up get their numbers now, and again before "Свойства" opens.
    const auto rescan = [this] { RescanPortTable(m_environment.Settings(), PortTable::Global()); };
    rescan();
    CDlgCommunications chooser(m_base, m_environment.Settings(), m_freePorts, PortTable::Global(), channel.Usb(), this);
    if (m_offerDemoNode)
        chooser.ShowNode(m_base.FindByName(DemoNodeName()));
    chooser.SetPortRescan(rescan);
    const bool chosen = chooser.exec() == QDialog::Accepted;
    // The dialog edits the base in memory at once; those edits are kept whether or not a node is chosen.
    if (!m_environment.SaveNodeBase(m_base, &failure)) {
        Show(failure);
        return false;
    }
    if (!chosen)
        return false;
    if (m_offerDemoNode)
        m_offerDemoNode = chooser.Result().record.Name() == DemoNodeName();
    ApplyNode(chooser.Result().record);
    if (chooser.UsbDeviceIndex() >= 0)
        channel.Settings().usbDeviceIndex = chooser.UsbDeviceIndex();
    return true;
}

AppEnvironment::FreshBaseQuestion MainDialog::OfferFreshBase()
{
    return [this](const UserMessage& question) {
        return ShowMessage(question.text, question.caption, question.style) == MessageAnswer::kYes;
    };
}

void MainDialog::ApplyNode(const NodeRecord& node)
{
    ApplyNodeToChannel(node, m_driver.TransmitChanel().Settings());
    const NodeTarget target = TargetOfNode(node);
    m_driver.SetDeviceAddress(target.networkAddress);
    m_driver.ModbusMaster().SetFunctionSet(target.functionSet);
    m_appliedNode = node;
    m_status->SetStatusText(NodeStatusText(node));
}

void MainDialog::UseDemoMeter(const DemoMeterAddress& meter)
{
    UserMessage failure;
    // A base that cannot be read is not overwritten: the demo node is then chosen for this run only.
    const bool loaded = m_environment.LoadNodeBase(m_base, &failure, OfferFreshBase());
    const int index = PutDemoNode(m_base, meter);
    if (!loaded || !m_environment.SaveNodeBase(m_base, &failure))
        Show(failure);
    ApplyNode(m_base.At(index).record);
    m_offerDemoNode = true;
}
