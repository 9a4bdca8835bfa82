#include "gui/config/scheme_choice_view.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/scheme_labels.h"
#include "config/scheme_picture_layout.h"
#include "config/scheme_table.h"
#include "gui/config/scheme_picture.h"

namespace {

constexpr int kRowRole = Qt::UserRole;
const QString kMarker = QStringLiteral(">>>");

QTreeWidget* MakeList(const QStringList& heads, const QString& name)
{
    auto* list = new QTreeWidget;
    list->setObjectName(name);
    list->setHeaderLabels(heads);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

}  // namespace

CSchemeChoiceView::CSchemeChoiceView(bool choosing, QWidget* parent)
    : QWidget(parent),
      m_choosing(choosing),
      m_picture(new CSchemePicture),
      m_schemes(MakeList({QStringLiteral("СИ"), QStringLiteral("Группа")}, QStringLiteral("schemeList"))),
      m_combinations(MakeList(CombinationColumns(), QStringLiteral("combinationList")))
{
    m_picture->setObjectName(QStringLiteral("schemePicture"));
    m_schemes->setMaximumWidth(170);
    auto* top = new QHBoxLayout;
    top->addWidget(m_picture, 1);
    top->addWidget(m_schemes);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top, 3);
    layout->addWidget(m_combinations, 2);

    if (m_choosing) {
        connect(m_schemes, &QTreeWidget::itemSelectionChanged, this, &CSchemeChoiceView::OnSchemeSelected);
        connect(m_combinations, &QTreeWidget::itemSelectionChanged, this, &CSchemeChoiceView::OnCombinationSelected);
    } else {
        // The page only shows the input's choice: the lists take no clicks or keys.
        for (QTreeWidget* list : {m_schemes, m_combinations}) {
            list->viewport()->installEventFilter(this);
            list->installEventFilter(this);
        }
    }
}

bool CSchemeChoiceView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void CSchemeChoiceView::ShowChoice(int model, int input, bool alternativeQg, int scheme, int row)
{
    m_filling = true;
    m_model = model;
    m_input = input;
    m_alternativeQg = alternativeQg;
    m_scheme = scheme;
    m_schemes->clear();
    for (const int offered : SchemeListFor(model, input)) {
        auto* item = new QTreeWidgetItem(m_schemes, {QString::number(offered), SchemeGroupName(offered)});
        item->setData(0, kRowRole, offered);
        if (offered == scheme)
            item->setSelected(true);
    }
    FillCombinations(row);
    m_filling = false;
    UpdatePicture();
}

int CSchemeChoiceView::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_combinations->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->data(0, kRowRole).toInt();
}

void CSchemeChoiceView::FillCombinations(int row)
{
    m_combinations->clear();
    for (const int position : CombinationListFor(m_scheme, m_model, m_input)) {
        auto* item = new QTreeWidgetItem(m_combinations, CombinationRowTexts(m_scheme, position, m_alternativeQg));
        item->setData(0, kRowRole, position);
        if (position == row) {
            item->setText(0, kMarker);
            item->setSelected(true);
        }
    }
}

void CSchemeChoiceView::OnSchemeSelected()
{
    if (m_filling)
        return;
    const QList<QTreeWidgetItem*> selected = m_schemes->selectedItems();
    if (selected.isEmpty())
        return;
    const int scheme = selected.front()->data(0, kRowRole).toInt();
    if (scheme == m_scheme)
        return;
    m_scheme = scheme;
    m_filling = true;
    FillCombinations(-1);  // a combination of the new scheme is the user's to choose
    m_filling = false;
    UpdatePicture();
    emit choiceChanged();
}

void CSchemeChoiceView::OnCombinationSelected()
{
    if (m_filling)
        return;
    const int row = SelectedRow();
    for (int i = 0; i < m_combinations->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_combinations->topLevelItem(i);
        item->setText(0, item->data(0, kRowRole).toInt() == row ? kMarker : QString());
    }
    UpdatePicture();
    emit choiceChanged();
}

void CSchemeChoiceView::UpdatePicture()
{
    const SchemeCombination* combination = CombinationAt(m_scheme, SelectedRow());
    InputSettings shown{};
    shown.scheme = std::uint8_t(m_scheme);
    QString caption;
    if (m_scheme == 0 || combination) {
        shown.SetKt3(combination ? combination->Kt3() : kNoSchemeKt3);
        shown.SetFrt(combination ? combination->Frt() : kNoSchemeFrt);
        caption = SchemePictureCaption(shown);
    } else {
        caption = QStringLiteral("СИ %1").arg(m_scheme);  // no combination chosen yet
    }
    m_picture->SetPicture(m_scheme, caption);
}
