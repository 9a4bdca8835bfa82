#include "channel/ui/line_edit_filter.h"

#include <QLineEdit>

#include <algorithm>

void InstallTextRule(QLineEdit* edit, TextRule rule)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, rule = std::move(rule)](const QString& text) {
        const QString kept = rule(text);
        if (kept == text)
            return;
        // What the rule keeps of the text before the caret tells where the caret belongs.
        const auto caret = std::min(rule(text.left(edit->cursorPosition())).size(), kept.size());
        edit->setText(kept);
        edit->setCursorPosition(static_cast<int>(caret));
    });
}
