#pragma once
// The first page, "Конфигурирование": the frame of the configuration pages. Its toolbar connects to the
// meter of the chosen node, breaks the connection and stops the running exchange; below it the
// connection, operation and detail texts and the information about the connected meter.

#include "app/ui/dlg_parent_with_my_property.h"
#include "protocol/driver_commands.h"

class ConnectionToolbar;
class DriverProgressTexts;
class QLabel;
class QToolButton;

class CDlgMainConfig : public CDlgParentWithMyProperty, public CommandRequester {
    Q_OBJECT

public:
    static constexpr int kPageId = 0;

    explicit CDlgMainConfig(PageHost& host, QWidget* parent = nullptr);
    ~CDlgMainConfig() override;

    // What the driver reports.
    void SetConnectionText(const QString& text);
    void SetOperationText(const QString& text);
    void SetDetailText(const QString& text);
    void SetDeviceInformation(const QString& text);
    // Re-reads the driver's busy flag and enables the buttons that fit.
    void UpdateBusy();

    QString ConnectionText() const;
    QString OperationText() const;
    QString DetailText() const;
    QString DeviceInformation() const;
    QToolButton* ConnectButton() const;
    QToolButton* BreakButton() const;
    QToolButton* StopButton() const;

    void RefreshCommandStates() override;
    void CommandFinished(int code) override;

private:
    ConnectionToolbar* m_toolbar;
    DriverProgressTexts* m_texts;
    QLabel* m_device;
};
