#include "gui/widgets/message_presenter.h"

#include "gui/widgets/message_box.h"

int BoxMessagePresenter::Present(QWidget* parent, const QString& text, const QString& caption, unsigned style)
{
    return ShowMessageBox(parent, UserMessage{text, caption, style});
}
