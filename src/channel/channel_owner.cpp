#include "channel/channel_owner.h"

#include "base/message_style.h"

void ChannelOwner::ReportLineTrouble(const QString& text)
{
    LogLine(text);
    ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
}

void ReportToOwner(ChannelOwner* owner, const QString& text)
{
    if (owner)
        owner->ReportLineTrouble(text);
}

void LogToOwner(ChannelOwner* owner, const QString& text)
{
    if (owner)
        owner->LogLine(text);
}
