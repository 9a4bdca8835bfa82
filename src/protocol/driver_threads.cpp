// The driver's two threads. The command thread takes numbered commands one at a time and is the only
// thread that touches the channel; the service thread takes the urgent requests (stop, break the
// connection) while a command runs. Neither has an event loop: both wait on their queue for at most one
// polling interval, so a quit request is seen within that time.

#include "channel/message_style.h"
#include "channel/modem_idle_text.h"
#include "protocol/command_extensions.h"
#include "protocol/rovo_redod.h"

#include <QThread>

namespace {

constexpr int kPollMs = 100;
// Idle passes of the command thread between two looks at what the modem sent.
constexpr int kIdlePassesPerLineCheck = 10;

struct LineMessage {
    const char* answer;   // what the modem sends
    const char* message;  // what the user is told
};
// Looked for in this order.
constexpr LineMessage kLineMessages[] = {
    {"BUSY", "Линия занята! Соединение будет разорвано!"},
    {"NO DIALTONE", "Нет гудка в линии! Соединение будет разорвано!"},
    {"NO CARRIER", "Потеряна связь с удаленным прибором (нет несущей)!"},
};

}  // namespace

void CRovoRedod::StartThreads()
{
    if (m_CommandThread)
        return;
    m_Quit.store(false);
    m_CommandThread.reset(QThread::create([this] { CommandThreadLoop(); }));
    m_ServiceThread.reset(QThread::create([this] { ServiceProcessLoop(); }));
    m_CommandThread->start();
    m_ServiceThread->start();
}

void CRovoRedod::StopThreads()
{
    if (!m_CommandThread)
        return;
    // Quit first (a running command sees it as a stop request), then join.
    m_Quit.store(true);
    m_Commands.Wake();
    m_Service.Wake();
    m_CommandThread->wait();
    m_ServiceThread->wait();
    m_CommandThread.reset();
    m_ServiceThread.reset();
    // The driver may still be used directly on the caller's thread.
    m_Quit.store(false);
}

bool CRovoRedod::QueueCommand(std::uint32_t code, CommandRequester* requester)
{
    CountOutstanding(+1);
    m_Commands.Push(code, requester);
    return true;
}

void CRovoRedod::CountOutstanding(int change)
{
    QMutexLocker lock(&m_IdleLock);
    m_Outstanding += change;
    if (m_Outstanding == 0)
        m_Idle.wakeAll();
}

void CRovoRedod::QueueServiceRequest(std::uint32_t code)
{
    m_Service.Push(code);
}

bool CRovoRedod::WaitUntilIdle(int timeoutMs) const
{
    QMutexLocker lock(&m_IdleLock);
    const QDeadlineTimer deadline(timeoutMs);
    while (m_Outstanding > 0) {
        if (!m_Idle.wait(&m_IdleLock, deadline))
            return m_Outstanding == 0;
    }
    return true;
}

void CRovoRedod::CommandThreadLoop()
{
    while (!m_Quit.load()) {
        if (m_BreakRequested.exchange(false))
            BreakOnRequest();
        std::uint32_t code = 0;
        if (m_Commands.Take(code, kPollMs)) {
            m_IdlePasses = 0;
            RunQueuedCommand(code);
            CountOutstanding(-1);
        } else {
            ModemIdlePass();
        }
    }
}

void CRovoRedod::RunQueuedCommand(std::uint32_t code)
{
    ClearStopRequest();
    m_CurrentCommand = code;
    m_Busy.store(true);
    RaiseBusyChanged();
    const bool succeeded = MainProcess(code);
    m_Busy.store(false);
    RaiseBusyChanged();
    if (succeeded)
        NotifyRequester(true, static_cast<int>(code));
}

void CRovoRedod::ServiceProcessLoop()
{
    while (!m_Quit.load()) {
        std::uint32_t code = 0;
        if (m_Service.Take(code, kPollMs))
            RunService(code);
    }
}

void CRovoRedod::RunService(std::uint32_t code)
{
    switch (code) {
    case kServiceStop:
        RequestStop();
        break;
    case kServiceBreakConnection:
        // The command thread breaks the connection as soon as the running command (stopped here) has
        // ended, before it takes another: the channel is never used by two threads.
        if (m_Busy.load())
            RequestStop();
        m_BreakRequested.store(true);
        break;
    default:
        ShowMessage(QString::fromUtf8("Ошибка выполнения CRovoRedod::ServiceProcessLoop!"),
                    QString::fromUtf8(kCaptionError), MessageStyle::kIconWarning);
        break;
    }
}

void CRovoRedod::BreakOnRequest()
{
    // The stop was meant for the command that has ended; hanging up must not be cut short by it.
    ClearStopRequest();
    if (m_TransmitChanel.ModemLineUp() && !m_DeviceConnected.load()) {
        const QString question = QString::fromUtf8(
            "В данный момент установлено соединение между модемами. Однако, связь с вычислителем не установлена.\r\n"
            "- Для того, чтобы остановить процесс и разорвать модемное соединение нажмите \"Да\"\r\n"
            "- Для того, чтобы остановить процесс без разрыва модемного соединения нажмите \"Нет\"\r\n");
        if (ShowMessage(question, QString::fromUtf8("Остановить процесс"),
                        MessageStyle::kYesNo | MessageStyle::kIconQuestion) != MessageAnswer::kYes)
            return;
    }
    BreakConnection();
}

void CRovoRedod::ModemIdlePass()
{
    if (!m_TransmitChanel.ModemLineUp() || !m_DeviceConnected.load()) {
        m_IdlePasses = 0;
        return;
    }
    if (++m_IdlePasses < kIdlePassesPerLineCheck)
        return;
    m_IdlePasses = 0;
    // A stop request left over from the last command would end the look before it began; no command
    // runs now, so there is nothing it could still be meant for.
    ClearStopRequest();
    const QByteArray sent = m_Extensions ? m_Extensions->ReadIdleModemText(*this)
                                         : ReadModemIdleText(m_TransmitChanel.SerialPort());
    for (const LineMessage& line : kLineMessages) {
        if (!sent.contains(line.answer))
            continue;
        BreakConnection();
        const QString text = QString::fromUtf8(line.message);
        LogLine(text);
        ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconWarning);
        return;
    }
}
