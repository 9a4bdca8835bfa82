#pragma once
// The input pages hand the core's questions and refusals to the window through the page host, and
// count them: a picker that showed a message stays open for another choice.

#include "app/ui/page_host.h"
#include "config/config_messages.h"

class WiPageMessages final : public ConfigMessageHost {
public:
    explicit WiPageMessages(PageHost& host) : m_host(host) {}

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
