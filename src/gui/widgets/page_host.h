#pragma once
// What a page needs from the main window: the driver whose data it edits and whose commands it queues
// (only what DriverAccess offers: the queues, busy and connected, the data and configuration),
// the program's environment (settings store, work folder, node base), the message boxes, and the few
// window operations a page starts itself.

#include <QString>

#include <cstdint>

class AppEnvironment;
class DriverAccess;

class PageHost {
public:
    virtual DriverAccess& Driver() = 0;
    virtual AppEnvironment& Environment() = 0;
    // A message box in the window's style (MessageStyle); returns the button pressed (MessageAnswer).
    virtual int ShowMessage(const QString& text, const QString& caption, unsigned style) = 0;
    // The node-selection flow: true when a node was chosen and applied to the driver.
    virtual bool SelectNode() = 0;
    // The serial number the node chosen last stores; 0 when none is chosen or it stores none.
    virtual std::uint32_t ChosenNodeSerial() const { return 0; }
    virtual void SelectPage(int pageId) = 0;
    // A page changed what the page tree's labels show (DB2 in use, an input's scheme): the tree relabels.
    virtual void ConfigurationLabelsChanged() = 0;
    // Asked before a connect reads the meter's configuration: true when the configuration being edited is
    // to stay as it is (the user's edits or a file's settings are not to be replaced).
    virtual bool KeepEditedConfiguration() { return false; }

protected:
    ~PageHost() = default;
};
