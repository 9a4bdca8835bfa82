#pragma once
// The pages of the main window: the tree of page names, the title strip above the page pane and the
// pane itself. Entries keep their insertion order; pages may nest under a parent page.

#include <QList>
#include <QObject>
#include <QString>

class CDlgParentWithMyProperty;
class QLabel;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

struct PageEntry {
    QString caption;
    CDlgParentWithMyProperty* page = nullptr;
    QTreeWidgetItem* item = nullptr;
    int parentIndex = -1;  // index of the parent entry, -1 at the top
    bool enabled = true;
    int id = 0;
};

class PageTree : public QObject {
    Q_OBJECT

public:
    static constexpr int kNoParent = -1;
    // Captions longer than this are cut to one character less, as the tree always did.
    static constexpr int kMaxCaptionLength = 253;

    // `titleText` is what the title strip shows before any page is selected.
    PageTree(const QString& titleText, QObject* parent = nullptr);

    QTreeWidget* Tree() const { return m_tree; }
    QLabel* TitleStrip() const { return m_title; }
    QStackedWidget* Pane() const { return m_pane; }

    // Takes `page` into the pane under `caption`, below the page with id `parentId` (kNoParent for
    // none). Returns the page.
    CDlgParentWithMyProperty* AddPage(const QString& caption, CDlgParentWithMyProperty* page, int parentId, int pageId);
    // Selects the page's tree item: the pane shows that page and the title strip its caption. False for
    // an unknown id.
    bool SelectPage(int pageId);
    // Sets the text of `item` and the caption of every entry bound to it.
    void SetPageCaption(QTreeWidgetItem* item, const QString& text);

    const QList<PageEntry>& Entries() const { return m_entries; }
    // The entry of `pageId`, or null.
    const PageEntry* Find(int pageId) const;
    // The id of the page in view, or -1.
    int CurrentPageId() const;

signals:
    void pageShown(int pageId);
    // The entry of `pageId` took its page's new caption or enabled state.
    void entryChanged(int pageId);

private:
    int IndexOfId(int pageId) const;
    int IndexOfItem(const QTreeWidgetItem* item) const;
    void ShowItem(QTreeWidgetItem* item);
    // Brings the entry of `page` into line with the page's caption and enabled state.
    void FollowPage(const CDlgParentWithMyProperty* page);

    QTreeWidget* m_tree;
    QLabel* m_title;
    QStackedWidget* m_pane;
    QList<PageEntry> m_entries;
    int m_currentIndex = -1;
};
