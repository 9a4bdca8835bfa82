#pragma once
// Whom the report writer and its file functions talk to. The core never shows anything: a message goes
// to the sink (the owner window shows it as a box, the command line prints it, a test records it), and
// a finished report goes to the viewer, which returns once the user is done with it.

#include <QString>

#include "base/user_message.h"

class MessageSink {
public:
    virtual void ShowMessage(const UserMessage& message) = 0;

protected:
    ~MessageSink() = default;
};

class ReportViewer : public MessageSink {
public:
    // Shows the finished report file; `saveFolder` is the folder offered first for saving a copy. The
    // file is deleted as soon as this returns.
    virtual void ShowReport(const QString& file, const QString& saveFolder) = 0;

protected:
    ~ReportViewer() = default;
};
