#include "gui/widgets/page_base.h"

#include "protocol/driver_access.h"

CDlgParentWithMyProperty::CDlgParentWithMyProperty(PageHost& host, QWidget* parent) : QWidget(parent), m_host(host) {}

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

void CDlgParentWithMyProperty::EnableWhileConnected(std::initializer_list<QWidget*> controls) const
{
    const DriverAccess& driver = m_host.Driver();
    const bool enabled = !driver.IsBusy() && driver.IsDeviceConnected();
    for (QWidget* control : controls)
        control->setEnabled(enabled);
}
