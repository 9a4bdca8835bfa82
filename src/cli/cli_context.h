#pragma once
// What a command of zt5ctl works with: its options and words, the terminal host, the program's
// settings store and work folder (made on first use), and the driver connected to the meter.

#include "cli/cli_options.h"
#include "cli/driver_session.h"
#include "cli/exit_status.h"
#include "cli/terminal_host.h"

#include <memory>

class AppEnvironment;
class DemoMeter;

class CliContext {
public:
    explicit CliContext(const CliOptions& options);
    ~CliContext();
    CliContext(const CliContext&) = delete;
    CliContext& operator=(const CliContext&) = delete;

    const CliOptions& Options() const { return m_options; }
    const QStringList& Arguments() const { return m_options.arguments; }
    TerminalHost& Host() { return m_host; }
    AppEnvironment& Environment();

    // Opens the line and runs the connect command. Null when that failed; `exitCode` then says how
    // (usage error, no connection, refusal, the node base unreadable), the reason already printed.
    DriverSession* Connect(int* exitCode);

private:
    bool PrepareNode(NodeRecord& node, int* exitCode);

    const CliOptions m_options;
    TerminalHost m_host;
    std::unique_ptr<AppEnvironment> m_environment;
    std::unique_ptr<DemoMeter> m_demo;
    std::unique_ptr<DriverSession> m_session;
};

// The message of a usage error and its exit code.
int UsageError(const QString& text);
