#pragma once
// The frame page of the archive pages: its toolbar connects to the meter of the chosen node, breaks the
// connection and stops the running command; below it the texts the driver reports about the exchange.
// The archives page ("Архивы (отладка)") sits under it in the page tree.

#include "gui/widgets/page_base.h"
#include "protocol/driver_commands.h"

class ConnectionToolbar;
class DriverProgressTexts;

class CDlgReadData : public CDlgParentWithMyProperty, public CommandRequester {
    Q_OBJECT

public:
    static constexpr int kPageId = 200;

    explicit CDlgReadData(PageHost& host, QWidget* parent = nullptr);
    ~CDlgReadData() override;

    // Re-reads the driver's busy and device-connected flags and enables the buttons that fit.
    void UpdateStates();

    ConnectionToolbar* Toolbar() const { return m_toolbar; }
    // The main window passes the driver's texts on to them.
    DriverProgressTexts* Texts() const { return m_texts; }

    void OnPageShown() override { UpdateStates(); }
    void RefreshCommandStates() override { UpdateStates(); }
    void CommandFinished(int) override {}

private:
    ConnectionToolbar* m_toolbar;
    DriverProgressTexts* m_texts;
};
