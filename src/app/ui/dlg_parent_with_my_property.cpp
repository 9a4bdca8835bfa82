#include "app/ui/dlg_parent_with_my_property.h"

CDlgParentWithMyProperty::CDlgParentWithMyProperty(PageHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
}
