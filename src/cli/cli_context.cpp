#include "cli/cli_context.h"

#include "app/app_environment.h"
#include "app/port_table_settings.h"
#include "channel/port_table.h"
#include "cli/command_table.h"
#include "cli/connection_setup.h"
#include "cli/terminal_output.h"
#include "sim/demo_meter.h"

CliContext::CliContext(const CliOptions& options) : m_options(options), m_host(options.answer, options.verbosity) {}

CliContext::~CliContext()
{
    // The driver goes before the demo meter it talks to.
    m_session.reset();
    m_demo.reset();
}

AppEnvironment& CliContext::Environment()
{
    if (!m_environment) {
        m_environment = std::make_unique<AppEnvironment>(
            StartupOverrides{m_options.settingsFile, m_options.workFolder});
        if (!m_environment->SettingsFolderFailure().IsEmpty())
            m_host.ShowMessage(m_environment->SettingsFolderFailure());
        // The COM numbers of the stored nodes mean the devices of the stored port table.
        LoadPortTable(m_environment->Settings(), PortTable::Global());
    }
    return *m_environment;
}

bool CliContext::PrepareNode(NodeRecord& node, int* exitCode)
{
    if (m_options.demo) {
        m_demo = std::make_unique<DemoMeter>();
        QString error;
        if (!m_demo->Start(&error)) {
            PrintFailure(error);
            *exitCode = kExitNoAnswer;
            return false;
        }
        node = m_demo->Node();
        return true;
    }
    NodeBase base;
    UserMessage failure;
    if (!Environment().LoadNodeBase(base, &failure)) {
        m_host.ShowMessage(failure);
        *exitCode = kExitFile;
        return false;
    }
    const int index = base.FindByName(m_options.node);
    if (index < 0) {
        // A name the base does not hold is a mistake on the command line.
        m_host.ShowMessage(
            UserMessage::Information(QStringLiteral("Узел учета \"%1\" не найден!").arg(m_options.node)));
        *exitCode = kExitUsage;
        return false;
    }
    node = base.At(index).record;
    return true;
}

DriverSession* CliContext::Connect(int* exitCode)
{
    if (m_session)
        return m_session.get();
    const QString usage = CheckConnectionOptions(m_options);
    if (!usage.isEmpty()) {
        *exitCode = UsageError(usage);
        return nullptr;
    }
    NodeRecord node;
    const bool hasNode = m_options.demo || !m_options.node.isEmpty();
    if (hasNode && !PrepareNode(node, exitCode))
        return nullptr;
    if (!m_options.serial.isEmpty() || !m_options.modem.isEmpty())
        Environment();  // the stored port table first, so the path keeps a number it already has
    const ConnectionPlan plan = PlanConnection(m_options, hasNode ? &node : nullptr);
    if (m_options.verbosity >= 2)
        PrintError(QStringLiteral("Канал связи: %1\n").arg(ConnectionPlanText(plan)));
    m_session = std::make_unique<DriverSession>(m_host, plan.settings, plan.target);
    m_session->Driver().Data().askTunesChecksum = CommandAsksAboutTunesChecksum(m_options.command);
    if (!m_session->Run(kCommandConnect)) {
        *exitCode = m_session->FailureCode();
        m_session.reset();
        return nullptr;
    }
    return m_session.get();
}

int UsageError(const QString& text)
{
    PrintUsageError(text);
    return kExitUsage;
}
