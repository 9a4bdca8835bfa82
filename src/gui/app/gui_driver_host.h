#pragma once
// The driver's host in the desktop program. It lives on the GUI thread: a notification raised by one of
// the driver's threads is carried over with a blocking queued call, so the worker waits until the window
// has handled it; one raised on the GUI thread itself is handled at once. The window only ever waits
// for the worker through its event loop (see ShutDown), never by blocking.
//
// The texts go out as signals the main window wires to its frame, status strip and monitor; message
// boxes go through the presenter and answer the button pressed.

#include "protocol/driver_host.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <atomic>

class CRovoRedod;
class MessagePresenter;

class GuiDriverHost : public QObject, public DriverHost {
    Q_OBJECT

public:
    explicit GuiDriverHost(MessagePresenter& presenter, QObject* parent = nullptr);

    // The window message boxes are centred on.
    void SetDialogParent(QWidget* parent) { m_dialogParent = parent; }

    // Stops `driver`'s threads in quit-then-join order while the GUI thread keeps handling the
    // notifications still on their way (a message box raised meanwhile answers Cancel unseen). Returns
    // when both threads have ended.
    void ShutDown(CRovoRedod& driver);
    bool IsShuttingDown() const { return m_shuttingDown.load(); }

    int ShowMessageBox(const QString& text, const QString& caption, unsigned style) override;
    void AppendLogLine(const QString& line) override;
    void SetConnectionText(const QString& text) override;
    void SetOperationText(const QString& text) override;
    void SetDetailText(const QString& text) override;
    void BusyChanged() override;
    void SetDeviceInformation(const QString& text) override;
    void FlashLamp(Lamp lamp) override;
    void RefreshConfigurationPages() override;
    void RefreshCommandStates(CommandRequester* requester) override;
    void CommandFinished(CommandRequester* requester, int code) override;

signals:
    void logLine(const QString& line);
    void connectionText(const QString& text);
    void operationText(const QString& text);
    void detailText(const QString& text);
    void busyChanged();
    void deviceInformation(const QString& text);
    void lampFlashed(int lamp);
    void configurationRead();

private:
    // Runs `call` on the GUI thread and returns when it has run.
    template <class Call>
    void OnGuiThread(Call call);

    MessagePresenter& m_presenter;
    QPointer<QWidget> m_dialogParent;
    std::atomic<bool> m_shuttingDown{false};
};
