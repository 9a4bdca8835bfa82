#include "lines/unattended_host.h"

#include "base/message_style.h"

UnattendedHost::UnattendedHost(LogSink log) : m_log(std::move(log)) {}

QString UnattendedHost::ErrorText() const
{
    return m_firstMessage.isEmpty() ? m_operation.trimmed() : m_firstMessage;
}

int UnattendedHost::ShowMessageBox(const QString& text, const QString&, unsigned style)
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

void UnattendedHost::AppendLogLine(const QString& line)
{
    if (m_log)
        m_log(line);
}

void UnattendedHost::SetOperationText(const QString& text)
{
    m_operation = text;
}
