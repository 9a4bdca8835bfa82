#pragma once
// A page hands the core's questions and refusals to the window through its page host, and counts them
// (a picker that showed a message stays open for another choice).

#include "config/config_messages.h"
#include "gui/widgets/page_host.h"

class PageMessages final : public ConfigMessageHost {
public:
    explicit PageMessages(PageHost& host) : m_host(host) {}

    int ShowMessage(const QString& text, const QString& caption, unsigned style) override
    {
        ++m_shown;
        return m_host.ShowMessage(text, caption, style);
    }
    int Shown() const { return m_shown; }

private:
    PageHost& m_host;
    int m_shown = 0;
};
