#include "app/ui/message_presenter.h"

#include "channel/message_style.h"

#include <QMessageBox>

namespace {

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
    case QMessageBox::Ok:
        return MessageAnswer::kOk;
    case QMessageBox::Yes:
        return MessageAnswer::kYes;
    case QMessageBox::No:
        return MessageAnswer::kNo;
    default:
        return MessageAnswer::kCancel;
    }
}

}  // namespace

int BoxMessagePresenter::Present(QWidget* parent, const QString& text, const QString& caption, unsigned style)
{
    QMessageBox box(IconOf(style), caption, text, ButtonsOf(style), parent);
    // Closing a Yes/No box by its frame button answers No, as nothing else could be meant.
    if ((style & MessageStyle::kButtonMask) == MessageStyle::kYesNo)
        box.setEscapeButton(QMessageBox::No);
    return AnswerOf(box.exec());
}
