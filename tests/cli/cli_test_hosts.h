#pragma once
// Hosts for the core calls a test makes next to zt5ctl: they collect the messages shown.

#include "config/config_messages.h"
#include "reports/report_host.h"

#include <QStringList>

class CollectingHost : public ConfigMessageHost, public MessageSink {
public:
    int ShowMessage(const QString& text, const QString&, unsigned) override
    {
        messages << text;
        return MessageAnswer::kOk;
    }
    void ShowMessage(const UserMessage& message) override { messages << message.text; }

    QStringList messages;
};
