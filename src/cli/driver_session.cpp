#include "cli/driver_session.h"

#include "cli/interrupt.h"
#include "cli/terminal_output.h"

namespace {
constexpr int kWaitSliceMs = 100;
}

DriverSession::DriverSession(TerminalHost& host, const ChannelSettings& settings, NodeTarget target) : m_host(host)
{
    m_driver.TransmitChanel().Settings() = settings;
    m_driver.SetDeviceAddress(target.networkAddress);
    m_driver.ModbusMaster().SetFunctionSet(target.functionSet);
    m_driver.AttachHost(&m_host);
    m_driver.StartThreads();
}

DriverSession::~DriverSession()
{
    m_driver.StopThreads();
    m_driver.TransmitChanel().Disconnect();
}

bool DriverSession::Run(DriverCommand code)
{
    m_refreshed.store(false);
    m_finishedCode.store(-1);
    m_host.TakeShownMessage();
    // The driver is idle between commands: its master may be touched here.
    m_driver.ModbusMaster().ClearFailure();
    m_failureCode = kExitOk;
    m_exchangeFailure = ExchangeFailure::kNone;
    if (!m_driver.QueueCommand(code, this)) {
        m_failureCode = kExitRefused;
        return false;
    }
    bool stopAsked = false;
    while (!m_driver.WaitUntilIdle(kWaitSliceMs)) {
        if (Interrupted() && !stopAsked) {
            m_driver.QueueServiceRequest(kServiceStop);
            stopAsked = true;
        }
    }
    const bool succeeded = m_finishedCode.load() == static_cast<int>(code) && !m_host.QuestionRefused();
    if (!succeeded) {
        m_exchangeFailure = m_driver.ModbusMaster().LastFailure();
        // A connect that never got an answer through found no line to the meter.
        const bool noLine = code == kCommandConnect && !m_driver.ModbusMaster().AnyAnswerTaken();
        m_failureCode = DriverFailureCode(m_exchangeFailure, m_host.QuestionRefused(), noLine);
    }
    if (!succeeded)
        m_host.ReleaseHeldMessages();
    // A failure the driver did not put into words of its own still gets its result line.
    if (!succeeded && !m_host.TakeShownMessage() && !m_host.LastOperationText().isEmpty())
        PrintFailure(m_host.LastOperationText());
    return succeeded;
}

void DriverSession::RefreshCommandStates()
{
    m_refreshed.store(true);
}

void DriverSession::CommandFinished(int code)
{
    if (m_refreshed.load()) {
        m_finishedCode.store(code);
        return;
    }
    if (m_onEachRead)
        m_onEachRead();
}
