#include "gui/config/tab_ctrl_with_disable.h"

#include "gui/widgets/page_base.h"

#include <QTabBar>

CTabCtrlWithDisable::CTabCtrlWithDisable(QWidget* parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &CTabCtrlWithDisable::OnCurrentChanged);
}

int CTabCtrlWithDisable::AddPage(CDlgParentWithMyProperty* page, const QString& text)
{
    return addTab(page, text);
}

void CTabCtrlWithDisable::EnableTab(int index, bool enabled)
{
    if (index < 0 || index >= count())
        return;
    setTabEnabled(index, enabled);
    if (enabled || currentIndex() != index)
        return;
    // The tab bar may keep a disabled tab selected when no other is enabled; move off it when we can.
    for (int i = 0; i < count(); ++i) {
        if (isTabEnabled(i)) {
            setCurrentIndex(i);
            return;
        }
    }
}

CDlgParentWithMyProperty* CTabCtrlWithDisable::CurrentPage() const
{
    return qobject_cast<CDlgParentWithMyProperty*>(currentWidget());
}

void CTabCtrlWithDisable::OnCurrentChanged(int index)
{
    if (auto* page = qobject_cast<CDlgParentWithMyProperty*>(widget(index)))
        page->OnPageShown();
}
