#pragma once
// "Список приборов": where the meter is. One tab per channel kind - the USB meters plugged in, and the
// nodes of the base reached over a direct line, a modem or an IP network - plus a page without a tab
// for the shared-memory link. The node pages add, delete, reorder and edit base entries in memory at
// once; saving the base is the caller's task. After OK the caller reads the chosen node.

#include "base/setting_value.h"
#include "channel/free_ports.h"
#include "channel/port_table.h"
#include "nodes/node_base_file.h"

#include <QDialog>

#include <functional>

class NodeBase;
class NodeListPage;
class QPushButton;
class QStackedWidget;
class QTabBar;
class SettingsStore;
class UsbDevicePage;
class UsbTransport;
class WindowPlacementKeeper;

class CDlgCommunications : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPageCount = 5;  // kinds 0..4; kind 4 has no tab

    // `usb` may be null (no USB link): the USB page then stays empty.
    CDlgCommunications(NodeBase& base, SettingsStore& settings, const FreePortTable& freePorts, const PortTable& ports,
                       UsbTransport* usb, QWidget* parent = nullptr);

    // The page shown, 0..4 (its connection type).
    int CurrentPage() const { return m_current; }
    // The user's choice of page: remembered as the page to open on next time.
    void SelectPage(int page);
    // Opens on the page of the base entry `baseIndex` with its row selected (the demo meter's node),
    // without making that page the remembered one. An invalid index changes nothing.
    void ShowNode(int baseIndex);

    // After OK: the chosen node with the two values of its base entry; its connection type is the
    // page's. For a USB meter, a new record of type 0.
    const NodeEntry& Result() const { return m_result; }
    // The base index of the chosen entry; -1 for a new record or a USB meter.
    int ResultBaseIndex() const { return m_resultBaseIndex; }
    // The USB device list slot chosen (the channel's USB device index); -1 unless a USB meter was.
    int UsbDeviceIndex() const { return m_usbDeviceIndex; }

    // Called before "Свойства" opens, so an adapter plugged in meanwhile is offered with its number.
    void SetPortRescan(std::function<void()> rescan) { m_rescanPorts = std::move(rescan); }

    void accept() override;

private:
    NodeListPage* CurrentNodePage() const;
    // Shows `page`; `remember` stores it as the page to open on.
    void ShowPage(int page, bool remember);
    QPushButton* NewButton(const QString& text, const char* name, const std::function<void()>& action);
    void AddNode();
    void DeleteNode();
    // Swaps the selected node with its neighbour on the page, one row up (-1) or down (+1).
    void MoveNode(int step);
    void EditNode();
    // Runs the properties dialog on `record`; true on OK with `record` edited.
    bool RunProperties(NodeRecord& record);
    bool AcceptUsb();
    bool AcceptNode();
    void Refuse(const QString& text);

    NodeBase& m_base;
    const FreePortTable& m_freePorts;
    const PortTable& m_ports;
    std::function<void()> m_rescanPorts;
    SettingValue<int> m_connectType;
    WindowPlacementKeeper* m_placement;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_pages = nullptr;
    UsbDevicePage* m_usbPage = nullptr;
    QList<NodeListPage*> m_nodePages;  // kinds 1..4
    QList<QPushButton*> m_nodeButtons;
    int m_current = -1;
    NodeEntry m_result;
    int m_resultBaseIndex = -1;
    int m_usbDeviceIndex = -1;
};
