#pragma once
// How the desktop program puts a message box in front of the user. The main window and its driver
// host show every message through one presenter, so tests can script the answers instead of clicking.

#include <QString>

class QWidget;

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows `text` under `caption` with the icon and buttons of `style` (MessageStyle) and returns the
    // button pressed (MessageAnswer).
    virtual int Present(QWidget* parent, const QString& text, const QString& caption, unsigned style) = 0;
};

// The real one: the program's message box (message_box.h).
class BoxMessagePresenter : public MessagePresenter {
public:
    int Present(QWidget* parent, const QString& text, const QString& caption, unsigned style) override;
};
