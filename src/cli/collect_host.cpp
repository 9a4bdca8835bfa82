#include "cli/collect_host.h"

#include "base/message_style.h"
#include "cli/terminal_output.h"

CollectHost::CollectHost(const QString& meterName, bool verbose)
    : TerminalHost(QuestionAnswer::kNo, verbose), m_meterName(meterName), m_verbose(verbose)
{}

QString CollectHost::ErrorText() const
{
    return m_firstMessage.isEmpty() ? LastOperationText().trimmed() : m_firstMessage;
}

int CollectHost::ShowMessageBox(const QString& text, const QString&, unsigned style)
{
    if (m_firstMessage.isEmpty())
        m_firstMessage = text.trimmed();
    switch (style & MessageStyle::kButtonMask) {
        case MessageStyle::kOkCancel:
            return MessageAnswer::kCancel;
        case MessageStyle::kYesNo:
        case MessageStyle::kYesNoCancel:
            return MessageAnswer::kNo;
        default:
            return MessageAnswer::kOk;
    }
}

void CollectHost::AppendLogLine(const QString& line)
{
    if (m_verbose)
        PrintError(m_meterName + QStringLiteral(": ") + line + u'\n');
}
