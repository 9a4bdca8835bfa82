#pragma once
// What the widget tests share: message boxes answered by the test, and modal windows driven from a
// timer so that exec() never waits for a user.

#include "gui/widgets/message_box.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

// Records every message box shown during its life and answers each with `answer`.
class RecordedMessageBoxes {
public:
    explicit RecordedMessageBoxes(int answer = MessageAnswer::kOk)
        : m_previous(SetMessageBoxHook([this, answer](const UserMessage& message) {
              shown.push_back(message);
              return answer;
          }))
    {}
    ~RecordedMessageBoxes() { SetMessageBoxHook(std::move(m_previous)); }
    RecordedMessageBoxes(const RecordedMessageBoxes&) = delete;
    RecordedMessageBoxes& operator=(const RecordedMessageBoxes&) = delete;

    std::vector<UserMessage> shown;

private:
    MessageBoxHook m_previous;
};

// Once a modal widget of type T (`only` when given) is up, within a generous time, hands it to `act`;
// gives up silently otherwise, so the waiting test fails on its own assertions instead of hanging.
template <typename T>
void WhenModal(std::function<void(T*)> act, T* only = nullptr, int patienceMs = 10000)
{
    auto* timer = new QTimer;
    const QDeadlineTimer deadline(patienceMs);
    QObject::connect(timer, &QTimer::timeout, [timer, act, only, deadline]() {
        T* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (only != nullptr && widget != only)
            widget = nullptr;
        if (widget == nullptr && !deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        if (widget != nullptr)
            act(widget);
    });
    timer->start(10);
}
