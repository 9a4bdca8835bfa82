#include "gui/config/config_system_page.h"

#include "gui/config/system_settings_tab.h"
#include "gui/config/tab_ctrl_with_disable.h"
#include "gui/config/user_service_tab.h"

#include <QVBoxLayout>

CDlgMainConfigSystem::CDlgMainConfigSystem(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_tabs(new CTabCtrlWithDisable),
      m_common(new CDlgMainConfigCommon(host)),
      m_service(new CDlgMainConfigServiceUser(host))
{
    m_tabs->setObjectName(QStringLiteral("systemTabs"));
    m_tabs->AddPage(m_common, QStringLiteral("Система"));
    m_tabs->AddPage(m_service, QStringLiteral("Сервис"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
}

void CDlgMainConfigSystem::OnPageShown()
{
    if (CDlgParentWithMyProperty* page = m_tabs->CurrentPage())
        page->OnPageShown();
}

void CDlgMainConfigSystem::OnConfigurationReplaced()
{
    m_common->OnConfigurationReplaced();
    m_service->OnConfigurationReplaced();
}

void CDlgMainConfigSystem::OnConnectionStateChanged()
{
    m_service->OnConnectionStateChanged();
}
