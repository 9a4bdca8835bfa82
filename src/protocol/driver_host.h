#pragma once
// Everything the meter driver shows goes through its host: the main window in the desktop program, the
// printer of zt5ctl, a recording double in tests. Every call is synchronous: the driver's thread waits
// until the host has handled it. Without a host nothing is shown.

#include <QString>

class CommandRequester;

class DriverHost {
public:
    enum Lamp { kTransmitLamp, kReceiveLamp };

    virtual ~DriverHost() = default;

    // Shows a message box (MessageStyle) and returns the button pressed (MessageAnswer).
    virtual int ShowMessageBox(const QString& text, const QString& caption, unsigned style) = 0;
    // One line of the exchange log, CR LF included.
    virtual void AppendLogLine(const QString& line) = 0;
    // "Повтор %d", "Связь установлена" or empty.
    virtual void SetConnectionText(const QString& text) = 0;
    // The running operation's title followed by "...", or the result of a command.
    virtual void SetOperationText(const QString& text) = 0;
    virtual void SetDetailText(const QString& text) = 0;
    // The driver's busy flag changed; the host re-reads it and enables or disables its controls.
    virtual void BusyChanged() = 0;
    // "Информация о приборе: " followed by the version text, or empty.
    virtual void SetDeviceInformation(const QString& text) = 0;
    // A block was sent or received; the lamp flashes briefly. Needs no answer.
    virtual void FlashLamp(Lamp lamp) = 0;
    // The configuration was read from the meter: pages that show it refresh themselves (or are marked
    // to, when they are not in view).
    virtual void RefreshConfigurationPages() = 0;
    // A command queued by `requester` succeeded. The host has the requester refresh its command states
    // (RefreshCommandStates) before it hands it the code (CommandFinished), both on the host's thread.
    virtual void RefreshCommandStates(CommandRequester* requester) = 0;
    virtual void CommandFinished(CommandRequester* requester, int code) = 0;
};
