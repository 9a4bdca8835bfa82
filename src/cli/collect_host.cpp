#include "cli/collect_host.h"

#include "channel/message_style.h"
#include "cli/terminal_output.h"

CollectHost::CollectHost(const QString& meterName, bool verbose) : m_meterName(meterName), m_verbose(verbose) {}

QString CollectHost::ErrorText() const
{
    if (!m_firstMessage.isEmpty())
        return m_firstMessage;
    return m_operationText.trimmed();
}

int CollectHost::ShowMessageBox(const QString& text, const QString&, unsigned style)
{
    if (m_firstMessage.isEmpty())
        m_firstMessage = text.trimmed();
    switch (style & MessageStyle::kButtonMask) {
    case MessageStyle::kOkCancel: return MessageAnswer::kCancel;
    case MessageStyle::kYesNo:
    case MessageStyle::kYesNoCancel: return MessageAnswer::kNo;
    default: return MessageAnswer::kOk;
    }
}

void CollectHost::AppendLogLine(const QString& line)
{
    if (m_verbose)
        PrintError(m_meterName + QStringLiteral(": ") + line + u'\n');
}
