#include "gui/widgets/page_tree.h"

#include "gui/widgets/page_base.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QTreeWidget>

PageTree::PageTree(const QString& titleText, QObject* parent)
    : QObject(parent), m_tree(new QTreeWidget), m_title(new QLabel(titleText)), m_pane(new QStackedWidget)
{
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setObjectName(QStringLiteral("pageTree"));
    m_title->setObjectName(QStringLiteral("titleStrip"));
    QFont font(QStringLiteral("Verdana"));
    font.setWeight(QFont::Bold);  // 700
    font.setPixelSize(14);
    m_title->setFont(font);
    m_pane->setObjectName(QStringLiteral("pagePane"));
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { ShowItem(current); });
}

CDlgParentWithMyProperty* PageTree::AddPage(const QString& caption, CDlgParentWithMyProperty* page, int parentId,
                                            int pageId)
{
    PageEntry entry;
    entry.caption = caption;
    entry.page = page;
    entry.parentIndex = parentId == kNoParent ? -1 : IndexOfId(parentId);
    entry.enabled = page->IsPageEnabled();
    entry.id = pageId;
    const QString shown = caption.size() > kMaxCaptionLength ? caption.left(kMaxCaptionLength - 1) : caption;
    if (entry.parentIndex >= 0)
        entry.item = new QTreeWidgetItem(m_entries[entry.parentIndex].item, QStringList{shown});
    else
        entry.item = new QTreeWidgetItem(m_tree, QStringList{shown});
    entry.item->setDisabled(!entry.enabled);
    page->SetCaption(caption);
    m_pane->addWidget(page);
    m_entries.append(entry);
    if (entry.parentIndex >= 0)
        m_entries[entry.parentIndex].item->setExpanded(true);
    // A page enabled or relabelled later (a parameter set taken into use) must be reachable at once.
    connect(page, &CDlgParentWithMyProperty::pageStateChanged, this, [this, page] { FollowPage(page); });
    return page;
}

bool PageTree::SelectPage(int pageId)
{
    const int index = IndexOfId(pageId);
    if (index < 0)
        return false;
    QTreeWidgetItem* item = m_entries[index].item;
    if (m_tree->currentItem() == item)
        ShowItem(item);  // shown again: the page refreshes all the same
    else
        m_tree->setCurrentItem(item);
    return true;
}

void PageTree::SetPageCaption(QTreeWidgetItem* item, const QString& text)
{
    if (!item)
        return;
    const QString shown = text.size() > kMaxCaptionLength ? text.left(kMaxCaptionLength - 1) : text;
    item->setText(0, shown);
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].item != item)
            continue;
        m_entries[i].caption = shown;
        m_entries[i].page->SetCaption(shown);
        if (i == m_currentIndex)
            m_title->setText(shown);
    }
}

const PageEntry* PageTree::Find(int pageId) const
{
    const int index = IndexOfId(pageId);
    return index < 0 ? nullptr : &m_entries[index];
}

int PageTree::CurrentPageId() const
{
    return m_currentIndex < 0 ? -1 : m_entries[m_currentIndex].id;
}

int PageTree::IndexOfId(int pageId) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].id == pageId)
            return i;
    }
    return -1;
}

int PageTree::IndexOfItem(const QTreeWidgetItem* item) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].item == item)
            return i;
    }
    return -1;
}

void PageTree::FollowPage(const CDlgParentWithMyProperty* page)
{
    for (int i = 0; i < m_entries.size(); ++i) {
        PageEntry& entry = m_entries[i];
        if (entry.page != page)
            continue;
        entry.enabled = page->IsPageEnabled();
        entry.item->setDisabled(!entry.enabled);
        if (entry.caption != page->Caption()) {
            const QString& text = page->Caption();
            entry.caption = text.size() > kMaxCaptionLength ? text.left(kMaxCaptionLength - 1) : text;
            entry.item->setText(0, entry.caption);
            if (i == m_currentIndex)
                m_title->setText(entry.caption);
        }
        emit entryChanged(entry.id);
    }
}

void PageTree::ShowItem(QTreeWidgetItem* item)
{
    const int index = IndexOfItem(item);
    if (index < 0)
        return;
    m_currentIndex = index;
    const PageEntry& entry = m_entries[index];
    m_pane->setCurrentWidget(entry.page);
    m_title->setText(entry.caption);
    entry.page->OnPageShown();
    emit pageShown(entry.id);
}
