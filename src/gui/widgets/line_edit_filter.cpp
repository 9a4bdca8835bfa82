#include "gui/widgets/line_edit_filter.h"

#include <QLineEdit>

#include <algorithm>
#include <memory>

namespace {

using TextCheck = std::function<bool(const QString&)>;

struct Insertion {
    qsizetype at = 0;     // where the new characters start
    qsizetype count = 0;  // how many there are
};

// What an edit put into `before` to make `after`: the part between their common beginning and end.
Insertion InsertionOf(const QString& before, const QString& after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {head, after.size() - head - tail};
}

void Install(QLineEdit* edit, TextRule rule, TextCheck takesWhole)
{
    // textEdited comes before textChanged, so this still holds the text before the edit when the edit
    // is seen; it follows every change, the program's own too.
    auto shown = std::make_shared<QString>(edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, shown] { *shown = edit->text(); });
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [edit, shown, rule = std::move(rule), takesWhole = std::move(takesWhole)](const QString& text) {
                         const Insertion put = InsertionOf(*shown, text);
                         if (takesWhole && put.count > 1 && !takesWhole(text)) {
                             edit->setText(*shown);
                             edit->setCursorPosition(static_cast<int>(put.at));
                             return;
                         }
                         const QString kept = rule(text);
                         if (kept == text)
                             return;
                         // What the rule keeps of the text before the caret tells where the caret belongs.
                         const auto caret = std::min(rule(text.left(edit->cursorPosition())).size(), kept.size());
                         edit->setText(kept);
                         edit->setCursorPosition(static_cast<int>(caret));
                     });
}

}  // namespace

void InstallTextRule(QLineEdit* edit, TextRule rule)
{
    Install(edit, std::move(rule), {});
}

void InstallNumberRule(QLineEdit* edit, NumericFieldRule rule)
{
    Install(
        edit, [rule](const QString& text) { return rule.Apply(text); },
        [rule](const QString& text) { return rule.KeepsNumberOf(text); });
}
