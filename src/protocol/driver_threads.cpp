// The driver's two threads. The command thread takes numbered commands one at a time and is the only
// thread that touches the channel; the service thread takes the urgent requests (stop, break the
// connection) while a command runs. Neither has an event loop: both wait on their queue for at most one
// polling interval, so a quit request is seen within that time.

#include "base/message_style.h"
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
    if (m_commandThread)
        return;
    m_quit.store(false);
    m_commandThread.reset(QThread::create([this] { CommandThreadLoop(); }));
    m_serviceThread.reset(QThread::create([this] { ServiceProcessLoop(); }));
    m_commandThread->start();
    m_serviceThread->start();
}

void CRovoRedod::StopThreads()
{
    if (!m_commandThread)
        return;
    // Quit first (a running command sees it as a stop request), then join.
    m_quit.store(true);
    m_commands.Wake();
    m_service.Wake();
    m_commandThread->wait();
    m_serviceThread->wait();
    m_commandThread.reset();
    m_serviceThread.reset();
    // The driver may still be used directly on the caller's thread.
    m_quit.store(false);
}

bool CRovoRedod::QueueCommand(std::uint32_t code, CommandRequester* requester)
{
    CountOutstanding(+1);
    m_commands.Push(code, requester);
    return true;
}

void CRovoRedod::CountOutstanding(int change)
{
    QMutexLocker lock(&m_idleLock);
    m_outstanding += change;
    if (m_outstanding == 0)
        m_idle.wakeAll();
}

void CRovoRedod::QueueServiceRequest(std::uint32_t code)
{
    m_service.Push(code);
}

bool CRovoRedod::WaitUntilIdle(int timeoutMs) const
{
    QMutexLocker lock(&m_idleLock);
    const QDeadlineTimer deadline(timeoutMs);
    while (m_outstanding > 0) {
        if (!m_idle.wait(&m_idleLock, deadline))
            return m_outstanding == 0;
    }
    return true;
}

void CRovoRedod::CommandThreadLoop()
{
    while (!m_quit.load()) {
        if (m_breakRequested.exchange(false))
            BreakOnRequest();
        std::uint32_t code = 0;
        if (m_commands.Take(code, kPollMs)) {
            m_idlePasses = 0;
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
    m_currentCommand = code;
    m_busy.store(true);
    RaiseBusyChanged();
    const bool succeeded = MainProcess(code);
    m_busy.store(false);
    RaiseBusyChanged();
    if (succeeded)
        NotifyRequester(true, static_cast<int>(code));
}

void CRovoRedod::ServiceProcessLoop()
{
    while (!m_quit.load()) {
        std::uint32_t code = 0;
        if (m_service.Take(code, kPollMs))
            RunService(code);
    }
}

void CRovoRedod::RunService(std::uint32_t code)
{
    switch (code) {
        case kServiceStop: {
            // "Stop" means the user's wish as a whole: what a second press of a button queued behind
            // the running command goes too, or it would start the moment the first one ends.
            const int dropped = m_commands.DropAll();
            if (dropped > 0)
                CountOutstanding(-dropped);
            RequestStop();
            break;
        }
        case kServiceBreakConnection:
            // The command thread breaks the connection as soon as the running command (stopped here) has
            // ended, before it takes another: the channel is never used by two threads.
            if (m_busy.load())
                RequestStop();
            m_breakRequested.store(true);
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
    if (m_transmitChanel.ModemLineUp() && !m_deviceConnected.load()) {
        const QString question = QString::fromUtf8(
            "В данный момент установлено соединение между модемами. Однако, связь с вычислителем не установлена.\r\n"
            "- Для того, чтобы остановить процесс и разорвать модемное соединение нажмите \"Да\"\r\n"
            "- Для того, чтобы остановить процесс без разрыва модемного соединения нажмите \"Нет\"\r\n");
        if (ShowMessage(question, QString::fromUtf8("Остановить процесс"),
                        MessageStyle::kYesNo | MessageStyle::kIconQuestion)
            != MessageAnswer::kYes)
            return;
    }
    BreakConnection();
}

void CRovoRedod::ModemIdlePass()
{
    if (!m_transmitChanel.ModemLineUp() || !m_deviceConnected.load()) {
        m_idlePasses = 0;
        return;
    }
    if (++m_idlePasses < kIdlePassesPerLineCheck)
        return;
    m_idlePasses = 0;
    // A stop request left over from the last command would end the look before it began; no command
    // runs now, so there is nothing it could still be meant for.
    ClearStopRequest();
    const QByteArray sent = m_extensions ? m_extensions->ReadIdleModemText(*this)
                                         : ReadModemIdleText(m_transmitChanel.SerialPort());
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
