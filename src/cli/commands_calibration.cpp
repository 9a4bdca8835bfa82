#include "cli/commands_calibration.h"

#include "cli/cli_context.h"
#include "cli/connection_setup.h"
#include "cli/terminal_output.h"
#include "protocol/rkm8.h"
#include "protocol/rkm8_calibration.h"

namespace {

// The stand's host: everything goes to the terminal host, and the progress texts are printed too.
class StandProgressHost : public DriverHost {
public:
    explicit StandProgressHost(TerminalHost& terminal) : m_terminal(terminal) {}

    int ShowMessageBox(const QString& text, const QString& caption, unsigned style) override
    {
        return m_terminal.ShowMessageBox(text, caption, style);
    }
    void AppendLogLine(const QString& line) override { m_terminal.AppendLogLine(line); }
    void SetConnectionText(const QString& text) override { m_terminal.SetConnectionText(text); }
    void SetOperationText(const QString& text) override
    {
        m_terminal.SetOperationText(text);
        if (text != m_lastShown)
            PrintOut(text + QLatin1Char('\n'));
        m_lastShown = text;
    }
    void SetDetailText(const QString& text) override { m_terminal.SetDetailText(text); }
    void BusyChanged() override {}
    void SetDeviceInformation(const QString&) override {}
    void FlashLamp(Lamp) override {}
    void RefreshConfigurationPages() override {}
    void RefreshCommandStates(CommandRequester* requester) override { m_terminal.RefreshCommandStates(requester); }
    void CommandFinished(CommandRequester* requester, int code) override
    {
        m_terminal.CommandFinished(requester, code);
    }

private:
    TerminalHost& m_terminal;
    QString m_lastShown;
};

}  // namespace

int RunCalibrate(CliContext& context)
{
    const QStringList& words = context.Arguments();
    const bool temperature = words.size() == 1 && words.first() == QLatin1String("t");
    const bool current = words.size() == 1 && words.first() == QLatin1String("p");
    if (!temperature && !current)
        return UsageError(QStringLiteral("calibrate ждет t (температуры) или p (давления)"));
    if (context.Options().stand.isEmpty())
        return UsageError(QStringLiteral("calibrate ждет порт стенда: --stand ПУТЬ"));
    const int standPort = PortNumberForPath(context.Options().stand);
    if (standPort == 0)
        return UsageError(QStringLiteral("для стенда не осталось свободного номера COM-порта"));

    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    CRovoRedod& driver = session->Driver();
    StandProgressHost host(context.Host());
    CRkm8 stand;
    stand.AttachHost(&host);
    stand.PrepareChannelBeside(standPort, driver.TransmitChanel());
    Rkm8Calibration calibration(stand);
    driver.SetCommandExtensions(&calibration);
    const bool calibrated = session->Run(temperature ? kCommandCalibrateTemperature : kCommandCalibrateCurrent);
    driver.SetCommandExtensions(nullptr);
    if (calibrated)
        PrintOut(context.Host().LastOperationText() + QLatin1Char('\n'));
    if (calibrated)
        return kExitOk;
    // With every exchange of the meter answered, it was the stand that failed to answer.
    return session->LastExchangeFailure() == ExchangeFailure::kNone ? kExitNoAnswer : session->FailureCode();
}
