#include "gui/config/thermal_inputs_page.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "config/config_page_labels.h"
#include "protocol/driver_access.h"

CDlgMainConfigWi::CDlgMainConfigWi(PageHost& host, int set, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent), m_set(set), m_list(new QListWidget)
{
    SetCaption(QStringLiteral("Тепловые вводы"));
    m_list->setObjectName(QStringLiteral("inputList"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Тепловые вводы")));
    layout->addWidget(m_list);
    // A click or Enter on a row opens that input, as the tree would.
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit inputChosen(m_list->row(item)); });
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { emit inputChosen(m_list->row(item)); });
    Load();
}

void CDlgMainConfigWi::OnPageShown()
{
    Load();
}

void CDlgMainConfigWi::OnConfigurationReplaced()
{
    Load();
}

void CDlgMainConfigWi::Load()
{
    const TunesRecord& tunes = Host().Driver().Configuration().tunes;
    m_list->clear();
    for (int input = 0; input < kInputCount; ++input)
        m_list->addItem(InputNodeLabel(tunes, m_set, input));
}
