#include "gui/config/config_field_widgets.h"

#include "gui/widgets/line_edit_filter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

QLineEdit* LimitedEdit(const char* name, int maxLength)
{
    auto* edit = NamedWidget<QLineEdit>(name);
    edit->setMaxLength(maxLength);
    return edit;
}

QLabel* SelectableLabel(const char* name)
{
    auto* label = NamedWidget<QLabel>(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QComboBox* ValueCombo(const char* name, ValueTexts table)
{
    auto* combo = NamedWidget<QComboBox>(name);
    for (const ValueText& entry : table)
        combo->addItem(QString::fromUtf8(entry.text), QVariant::fromValue(entry.value));
    return combo;
}

QComboBox* CountedCombo(const char* name, const QStringList& texts, int first)
{
    auto* combo = NamedWidget<QComboBox>(name);
    for (int i = 0; i < texts.size(); ++i)
        combo->addItem(texts[i], QVariant::fromValue(unsigned(first + i)));
    return combo;
}

bool SelectComboValue(QComboBox* combo, unsigned value)
{
    const int index = combo->findData(QVariant::fromValue(value));
    combo->setCurrentIndex(index);
    return index >= 0;
}

std::optional<unsigned> ComboValue(const QComboBox* combo)
{
    if (combo->currentIndex() < 0)
        return std::nullopt;
    return combo->currentData().toUInt();
}

void OnComboPicked(QComboBox* combo, std::function<void(unsigned)> changed)
{
    QObject::connect(combo, &QComboBox::activated, combo,
                     [combo, changed](int index) { changed(combo->itemData(index).toUInt()); });
}

QLineEdit* NumericEdit(const char* name, NumericFieldRule rule)
{
    auto* edit = NamedWidget<QLineEdit>(name);
    InstallNumberRule(edit, rule);
    return edit;
}

void OnNumberEdited(QLineEdit* edit, std::function<void(double)> changed)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, changed] {
        if (const std::optional<double> value = NumericFieldValue(edit->text()))
            changed(*value);
    });
}

QString FixedText(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}
