#include "channel/channel_owner.h"

#include "base/message_style.h"

void ReportToOwner(ChannelOwner* owner, const QString& text)
{
    if (!owner)
        return;
    owner->LogLine(text);
    owner->ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
}

void LogToOwner(ChannelOwner* owner, const QString& text)
{
    if (owner)
        owner->LogLine(text);
}
