#pragma once
// A tab control whose tabs may be disabled: a disabled tab looks disabled and cannot be selected, and
// when the selected tab is disabled the selection moves to an enabled one. A tab that holds a page
// tells the page when it comes into view, so the page refreshes the way a page of the tree does.

#include <QTabWidget>

class CDlgParentWithMyProperty;

class CTabCtrlWithDisable : public QTabWidget {
    Q_OBJECT

public:
    explicit CTabCtrlWithDisable(QWidget* parent = nullptr);

    // Adds `page` under `text`; returns its index.
    int AddPage(CDlgParentWithMyProperty* page, const QString& text);
    void EnableTab(int index, bool enabled);
    bool IsTabEnabled(int index) const { return isTabEnabled(index); }
    // The page of the tab in view, or null.
    CDlgParentWithMyProperty* CurrentPage() const;

private:
    void OnCurrentChanged(int index);
};
