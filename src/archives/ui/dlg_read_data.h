#pragma once
// The frame page of the archive pages: its toolbar connects to the meter of the chosen node, breaks the
// connection and stops the running command; below it the texts the driver reports about the exchange.
// The archives page ("Архивы (отладка)") sits under it in the page tree.

#include "app/ui/dlg_parent_with_my_property.h"
#include "protocol/driver_commands.h"

class ConnectionToolbar;
class QLabel;
class QToolButton;

class CDlgReadData : public CDlgParentWithMyProperty, public CommandRequester {
    Q_OBJECT

public:
    static constexpr int kPageId = 200;

    explicit CDlgReadData(PageHost& host, QWidget* parent = nullptr);
    ~CDlgReadData() override;

    // What the driver reports.
    void SetConnectionText(const QString& text);
    void SetOperationText(const QString& text);
    void SetDetailText(const QString& text);
    // Re-reads the driver's busy and device-connected flags and enables the buttons that fit.
    void UpdateStates();

    QString ConnectionText() const;
    QString OperationText() const;
    QString DetailText() const;
    QToolButton* ConnectButton() const;
    QToolButton* BreakButton() const;
    QToolButton* StopButton() const;

    void OnPageShown() override { UpdateStates(); }
    void RefreshCommandStates() override { UpdateStates(); }
    void CommandFinished(int) override {}

private:
    ConnectionToolbar* m_toolbar;
    QLabel* m_connection;
    QLabel* m_operation;
    QLabel* m_detail;
};
