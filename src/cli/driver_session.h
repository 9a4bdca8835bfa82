#pragma once
// The meter driver as zt5ctl uses it: its threads running, the terminal as its host, and every
// operation queued as a numbered command exactly as the desktop pages queue them, connect first.
// A command has succeeded when the driver hands back its finished notice and no question went
// unanswered.

#include "cli/exit_status.h"
#include "cli/terminal_host.h"
#include "nodes/apply_node.h"
#include "protocol/driver_commands.h"
#include "protocol/rovo_redod.h"

#include <atomic>
#include <functional>

class DriverSession : private CommandRequester {
public:
    DriverSession(TerminalHost& host, const ChannelSettings& settings, NodeTarget target);
    ~DriverSession();
    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;

    CRovoRedod& Driver() { return m_driver; }

    // Queues `code` and waits until it has run. Ctrl+C meanwhile asks the driver to stop it.
    bool Run(DriverCommand code);
    // Why the last Run failed, as the exit status (kExitOk after a success), and the exchange failure
    // behind it (kNone when every exchange was answered: the driver's checks or an extension failed).
    ExitCode FailureCode() const { return m_failureCode; }
    ExchangeFailure LastExchangeFailure() const { return m_exchangeFailure; }
    // Run, as the exit status.
    ExitCode RunCode(DriverCommand code) { return Run(code) ? kExitOk : m_failureCode; }
    // Called on the driver's thread for each notice a cyclic read sends while it goes on.
    void OnEachRead(std::function<void()> handler) { m_onEachRead = std::move(handler); }

private:
    void RefreshCommandStates() override;
    void CommandFinished(int code) override;

    TerminalHost& m_host;
    CRovoRedod m_driver;
    std::function<void()> m_onEachRead;
    // The command thread's notices: a refresh comes only before the notice that ends a command.
    std::atomic<bool> m_refreshed{false};
    std::atomic<int> m_finishedCode{-1};
    ExitCode m_failureCode = kExitOk;
    ExchangeFailure m_exchangeFailure = ExchangeFailure::kNone;
};
