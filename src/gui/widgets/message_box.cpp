#include "gui/widgets/message_box.h"

#include <QMessageBox>

namespace {

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

QMessageBox::Icon IconOf(unsigned style)
{
    switch (style & MessageStyle::kIconMask) {
        case MessageStyle::kIconError:
            return QMessageBox::Critical;
        case MessageStyle::kIconQuestion:
            return QMessageBox::Question;
        case MessageStyle::kIconWarning:
            return QMessageBox::Warning;
        case MessageStyle::kIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(unsigned style)
{
    switch (style & MessageStyle::kButtonMask) {
        case MessageStyle::kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageStyle::kYesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageStyle::kYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

int AnswerOf(int button)
{
    switch (button) {
        case QMessageBox::Yes:
            return MessageAnswer::kYes;
        case QMessageBox::No:
            return MessageAnswer::kNo;
        case QMessageBox::Cancel:
            return MessageAnswer::kCancel;
        default:
            return MessageAnswer::kOk;
    }
}

}  // namespace

int ShowMessageBox(QWidget* parent, const UserMessage& message)
{
    if (Hook())
        return Hook()(message);
    QMessageBox box(IconOf(message.style), message.caption, message.text, ButtonsOf(message.style), parent);
    if ((message.style & MessageStyle::kDefaultButton2) && (ButtonsOf(message.style) & QMessageBox::No))
        box.setDefaultButton(QMessageBox::No);
    const int answer = box.exec();
    // Closing the box by its title bar means Cancel where there is one, else the only button.
    if (box.clickedButton() == nullptr && (ButtonsOf(message.style) & QMessageBox::Cancel))
        return MessageAnswer::kCancel;
    return AnswerOf(answer);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    MessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
