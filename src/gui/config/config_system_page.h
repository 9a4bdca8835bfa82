#pragma once
// The tree's node of the meter's own settings: the common page "Система" and the user's service page
// "Сервис" as two tabs.

#include "gui/widgets/page_base.h"

class CDlgMainConfigCommon;
class CDlgMainConfigServiceUser;
class CTabCtrlWithDisable;

class CDlgMainConfigSystem : public CDlgParentWithMyProperty {
    Q_OBJECT

public:
    explicit CDlgMainConfigSystem(PageHost& host, QWidget* parent = nullptr);

    void OnPageShown() override;
    void OnConfigurationReplaced() override;
    void OnConnectionStateChanged() override;

    CTabCtrlWithDisable* Tabs() const { return m_tabs; }
    CDlgMainConfigCommon* Common() const { return m_common; }
    CDlgMainConfigServiceUser* ServiceUser() const { return m_service; }

private:
    CTabCtrlWithDisable* m_tabs;
    CDlgMainConfigCommon* m_common;
    CDlgMainConfigServiceUser* m_service;
};
