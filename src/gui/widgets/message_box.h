#pragma once
// The one way the program's windows show a modal message: a box with the caption, icon and buttons the
// message asks for. Tests put a hook in its place, so nothing waits for a user who is not there.

#include "base/user_message.h"
#include "reports/report_host.h"

#include <functional>

class QWidget;

// Shows `message` over `parent` and answers with the button pressed (MessageAnswer).
int ShowMessageBox(QWidget* parent, const UserMessage& message);

// Replaces the box by `hook` (an empty hook brings the box back); answers the previous hook.
using MessageBoxHook = std::function<int(const UserMessage&)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// Core messages (file writers and the like) shown over a window.
class WindowMessageSink : public MessageSink {
public:
    explicit WindowMessageSink(QWidget* window) : m_window(window) {}
    void ShowMessage(const UserMessage& message) override { ShowMessageBox(m_window, message); }

private:
    QWidget* m_window;
};
