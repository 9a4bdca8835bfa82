#include "cli/terminal_host.h"

#include "base/message_style.h"
#include "cli/terminal_output.h"
#include "protocol/driver_commands.h"

namespace {

// The buttons a box offers: its positive and negative answer; OK alone when it asks nothing.
struct Buttons {
    bool question;
    int yes;
    int no;
};

Buttons ButtonsOf(unsigned style)
{
    switch (style & MessageStyle::kButtonMask) {
        case MessageStyle::kOkCancel:
            return {true, MessageAnswer::kOk, MessageAnswer::kCancel};
        case MessageStyle::kYesNo:
        case MessageStyle::kYesNoCancel:
            return {true, MessageAnswer::kYes, MessageAnswer::kNo};
        default:
            return {false, MessageAnswer::kOk, MessageAnswer::kOk};
    }
}

}  // namespace

TerminalHost::TerminalHost(QuestionAnswer answer, int verbosity) : m_answer(answer), m_verbosity(verbosity) {}

QString TerminalHost::LastOperationText() const
{
    QMutexLocker lock(&m_mutex);
    return m_operationText;
}

int TerminalHost::ShowMessageBox(const QString& text, const QString& caption, unsigned style)
{
    const Buttons buttons = ButtonsOf(style);
    QString shown = caption.isEmpty() ? text : QStringLiteral("%1: %2").arg(caption, text);
    if (!shown.endsWith(QLatin1Char('\n')))
        shown += QLatin1Char('\n');
    // -q keeps information and warnings off stderr; an error, or a question nobody answers, still shows.
    bool failure = (style & MessageStyle::kIconMask) == MessageStyle::kIconError;
    int answer = buttons.yes;
    if (buttons.question) {
        switch (m_answer) {
            case QuestionAnswer::kYes:
                answer = buttons.yes;
                break;
            case QuestionAnswer::kNo:
                answer = buttons.no;
                break;
            case QuestionAnswer::kAsk:
                // Nobody is there to answer: the careful answer, and the command fails.
                m_questionRefused.store(true);
                answer = buttons.no;
                shown += QStringLiteral("zt5ctl: нужен ответ на вопрос: --yes или --no\n");
                failure = true;
                break;
        }
    }
    shown.prepend(QStringLiteral("zt5ctl: "));
    if (failure || !Quiet()) {
        PrintError(shown);
        m_shownMessage.store(true);
    } else {
        // The system tells many a failure as information: kept until the command's outcome is known.
        QMutexLocker lock(&m_mutex);
        m_held << shown;
    }
    return answer;
}

void TerminalHost::ReleaseHeldMessages()
{
    QStringList held;
    {
        QMutexLocker lock(&m_mutex);
        held.swap(m_held);
    }
    for (const QString& message : held)
        PrintError(message);
    if (!held.isEmpty())
        m_shownMessage.store(true);
}

void TerminalHost::SetConnectionText(const QString& text)
{
    if (m_verbosity >= 2 && !text.isEmpty())
        PrintError(QStringLiteral("Связь: %1\n").arg(text));
}

void TerminalHost::AppendLogLine(const QString& line)
{
    if (m_verbosity < 1)
        return;
    PrintError(line.endsWith(QLatin1Char('\n')) ? line : line + QLatin1Char('\n'));
}

void TerminalHost::SetOperationText(const QString& text)
{
    QMutexLocker lock(&m_mutex);
    m_operationText = text;
}

void TerminalHost::RefreshCommandStates(CommandRequester* requester)
{
    if (requester)
        requester->RefreshCommandStates();
}

void TerminalHost::CommandFinished(CommandRequester* requester, int code)
{
    if (requester)
        requester->CommandFinished(code);
}

int TerminalHost::ShowMessage(const QString& text, const QString& caption, unsigned style)
{
    return ShowMessageBox(text, caption, style);
}

void TerminalHost::ShowMessage(const UserMessage& message)
{
    ShowMessageBox(message.text, message.caption, message.style);
}
