#pragma once
// A message that core code hands to whoever talks to the user: the window shows it as a message box,
// the command line prints it. Core code never shows anything itself.

#include "base/message_style.h"

#include <QString>

struct UserMessage {
    QString text;
    QString caption;
    unsigned style = 0;  // MessageStyle icon and buttons

    bool IsEmpty() const { return text.isEmpty(); }

    static UserMessage Information(const QString& text)
    {
        return {text, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation};
    }
    static UserMessage Error(const QString& text)
    {
        return {text, QString::fromUtf8(kCaptionError), MessageStyle::kIconError};
    }
};
