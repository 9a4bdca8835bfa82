#include "gui/config/scheme_picker_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/scheme_picker.h"
#include "config/scheme_table.h"
#include "gui/config/scheme_choice_view.h"
#include "gui/widgets/page_messages.h"

CSchemePickerDialog::CSchemePickerDialog(PageHost& host, ConfigurationBlocks& blocks, int set, int input,
                                         QWidget* parent)
    : QDialog(parent), m_host(host), m_blocks(blocks), m_set(set), m_input(input), m_view(new CSchemeChoiceView(true))
{
    setWindowTitle(QStringLiteral("Выбор схемы измерения"));
    const InputSettings& in = blocks.tunes.db[set].inputs[input];
    m_view->ShowChoice(blocks.identity.modelIndex, input, blocks.identity.AlternativeQgLabels(), in.scheme,
                       FindCombination(in.scheme, in.Kt3(), in.Frt()));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CSchemePickerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSchemePickerDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addWidget(buttons);
    resize(760, 520);
}

void CSchemePickerDialog::accept()
{
    PageMessages messages(m_host);
    m_changed = ApplySchemeChoice(m_blocks.tunes.db[m_set], m_input, m_blocks.identity, m_view->SelectedScheme(),
                                  m_view->SelectedRow(), messages);
    // Unchanged without a word means the choice was the input's own: nothing left to do here.
    if (m_changed || messages.Shown() == 0)
        QDialog::accept();
}
