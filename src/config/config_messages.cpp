#include "config/config_messages.h"

void ShowConfigWarning(ConfigMessageHost& host, const QString& text)
{
    host.ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kOk | MessageStyle::kIconWarning);
}

void ShowConfigInformation(ConfigMessageHost& host, const QString& text)
{
    host.ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kOk | MessageStyle::kIconInformation);
}

void ShowConfigError(ConfigMessageHost& host, const QString& text)
{
    host.ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kOk | MessageStyle::kIconError);
}

bool AskConfigYesNo(ConfigMessageHost& host, const QString& text)
{
    const int answer = host.ShowMessage(text, QString::fromUtf8(kCaptionQuestion),
                                        MessageStyle::kYesNo | MessageStyle::kIconQuestion);
    return answer == MessageAnswer::kYes;
}
