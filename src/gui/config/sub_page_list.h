#pragma once
// The numbered list of a page's sub-pages (columns number and page name) that the configuration frame
// and the branch pages of the tree show; choosing a row selects that page in the tree.

#include <QTreeWidget>

class PageHost;
class PageTree;

class SubPageList : public QTreeWidget {
    Q_OBJECT

public:
    SubPageList(PageHost& host, QWidget* parent = nullptr);

    // Lists the pages directly below the page `parentId` of `tree`, in tree order.
    void ShowChildrenOf(const PageTree& tree, int parentId);
    // The page id of row `row`, or -1.
    int PageIdAt(int row) const;

private:
    void Choose(QTreeWidgetItem* item);

    PageHost& m_host;
};
