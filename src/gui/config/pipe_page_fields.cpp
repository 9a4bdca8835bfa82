#include "gui/config/pipe_page_fields.h"

#include "gui/widgets/line_edit_filter.h"

#include <QComboBox>
#include <QLineEdit>

QLineEdit* MakeNumericEdit(const NumericFieldRule& rule, std::function<void(double)> store, const bool& loading,
                           QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    InstallNumberRule(edit, rule);
    // Connected after the rule: by now the edit holds what the rule kept.
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, store = std::move(store), &loading] {
        if (loading)
            return;
        if (const std::optional<double> value = NumericFieldValue(edit->text()))
            store(*value);
    });
    return edit;
}

void ShowNumber(QLineEdit* edit, double value, int decimals)
{
    edit->setText(QString::asprintf("%.*f", decimals, value));
}

QComboBox* MakeChoiceList(ValueTexts table, std::function<void(unsigned)> store, const bool& loading, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    for (const ValueText& entry : table)
        list->addItem(QString::fromUtf8(entry.text), entry.value);
    QObject::connect(list, &QComboBox::currentIndexChanged, list,
                     [list, store = std::move(store), &loading](int index) {
                         if (!loading && index >= 0)
                             store(list->itemData(index).toUInt());
                     });
    return list;
}

void SelectValue(QComboBox* list, unsigned value)
{
    list->setCurrentIndex(list->findData(value));
}
