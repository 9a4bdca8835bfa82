#include "app/ui/dlg_parent_with_my_property.h"

CDlgParentWithMyProperty::CDlgParentWithMyProperty(PageHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
}

void CDlgParentWithMyProperty::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit pageStateChanged();
}

void CDlgParentWithMyProperty::SetPageEnabled(bool enabled)
{
    if (enabled == m_pageEnabled)
        return;
    m_pageEnabled = enabled;
    emit pageStateChanged();
}
