#pragma once
// The page of a branch of the configuration tree ("БД1", "ТВ1 (СИ=1)", ...): the numbered list of the
// pages below it, refreshed whenever it comes into view.

#include "gui/widgets/page_base.h"

class PageTree;
class SubPageList;

class CDlgMainConfigBranch : public CDlgParentWithMyProperty {
    Q_OBJECT

public:
    CDlgMainConfigBranch(PageHost& host, const PageTree& tree, int pageId, QWidget* parent = nullptr);

    void OnPageShown() override;
    void OnConfigurationReplaced() override;

    SubPageList* List() const { return m_list; }

private:
    const PageTree& m_tree;
    const int m_pageId;
    SubPageList* m_list;
};
