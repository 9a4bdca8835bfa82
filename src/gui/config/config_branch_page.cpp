#include "gui/config/config_branch_page.h"

#include "gui/config/sub_page_list.h"
#include "gui/widgets/page_tree.h"

#include <QVBoxLayout>

CDlgMainConfigBranch::CDlgMainConfigBranch(PageHost& host, const PageTree& tree, int pageId, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent), m_tree(tree), m_pageId(pageId), m_list(new SubPageList(host))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    connect(&m_tree, &PageTree::entryChanged, this, [this] {
        if (isVisible())
            OnPageShown();
    });
}

void CDlgMainConfigBranch::OnPageShown()
{
    m_list->ShowChildrenOf(m_tree, m_pageId);
}

void CDlgMainConfigBranch::OnConfigurationReplaced()
{
    // The labels of the pages below may have changed; they are read again when the page is shown.
    if (isVisible())
        OnPageShown();
}
