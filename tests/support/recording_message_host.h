#pragma once
// A message host for tests: records every message and answers from a script.

#include <deque>
#include <vector>

#include "config/config_messages.h"

class RecordingMessageHost : public ConfigMessageHost {
public:
    struct Shown {
        QString text;
        QString caption;
        unsigned style;
    };

    int ShowMessage(const QString& text, const QString& caption, unsigned style) override
    {
        shown.push_back({text, caption, style});
        if (answers.empty())
            return MessageAnswer::kOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QString LastText() const { return shown.empty() ? QString() : shown.back().text; }

    std::vector<Shown> shown;
    std::deque<int> answers;
};
