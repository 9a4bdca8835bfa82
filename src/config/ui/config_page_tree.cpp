#include "config/ui/config_page_tree.h"

#include "app/ui/dlg_main_config.h"
#include "app/ui/page_host.h"
#include "app/ui/page_tree.h"
#include "config/config_page_labels.h"
#include "config/ui/config_branch_page.h"
#include "config/ui/config_system_page.h"
#include "config/ui/dlg_main_config_ctrls_and_alarms.h"
#include "config/ui/dlg_main_config_pipes.h"
#include "protocol/rovo_redod.h"

#include <QLabel>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace {

// ---------------------------------------------------------------------------------------------------
// TO BE REPLACED when the pages of the thermal inputs land: the two factories below then simply return
// CDlgMainConfigWi(host, set) and CDlgMainConfigWiScheme(host, set, input), and PendingPage goes.
class PendingPage : public CDlgParentWithMyProperty {
public:
    PendingPage(PageHost& host, const QString& what) : CDlgParentWithMyProperty(host)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(what));
        layout->addStretch(1);
    }
};

CDlgParentWithMyProperty* MakeThermalInputsPage(PageHost& host, int set)
{
    return new PendingPage(host, QStringLiteral("Тепловые вводы БД%1").arg(set + 1));
}

CDlgParentWithMyProperty* MakeInputSchemePage(PageHost& host, int set, int input)
{
    return new PendingPage(host, QStringLiteral("ТВ%1 в БД%2: общие").arg(input + 1).arg(set + 1));
}

// ---------------------------------------------------------------------------------------------------

}  // namespace

ConfigPageTree::ConfigPageTree(PageTree& pages, PageHost& host, QObject* parent)
    : QObject(parent), m_pages(pages), m_host(host)
{
}

void ConfigPageTree::Build()
{
    m_system = new CDlgMainConfigSystem(m_host);
    m_pages.AddPage(QStringLiteral("Система"), m_system, CDlgMainConfig::kPageId, ConfigPageIds::kSystem);
    for (int set = 0; set < kDbCount; ++set)
        AddSet(set);
    m_pages.AddPage(QStringLiteral("Контроли и алармы"), new CDlgMainConfigCtrlsAndAlarms(m_host), CDlgMainConfig::kPageId,
                    ConfigPageIds::kControlsAndAlarms);
    emit relabelled();
}

void ConfigPageTree::AddSet(int set)
{
    const TunesRecord& tunes = m_host.Driver().Configuration().tunes;
    const int setId = ConfigPageIds::SetNode(set);
    m_pages.AddPage(SetNodeLabel(tunes, set), new CDlgMainConfigBranch(m_host, m_pages, setId), CDlgMainConfig::kPageId,
                    setId);
    m_pages.AddPage(QStringLiteral("Тепловые вводы"), MakeThermalInputsPage(m_host, set), setId,
                    ConfigPageIds::ThermalInputs(set));
    for (int input = 0; input < kInputCount; ++input) {
        const int inputId = ConfigPageIds::InputNode(set, input);
        m_pages.AddPage(InputNodeLabel(tunes, set, input), new CDlgMainConfigBranch(m_host, m_pages, inputId), setId,
                        inputId);
        m_pages.AddPage(QStringLiteral("Общие"), MakeInputSchemePage(m_host, set, input), inputId,
                        ConfigPageIds::InputScheme(set, input));
        m_pages.AddPage(QStringLiteral("Трубы 1...3"), new CDlgMainConfigPipes(m_host, set, input), inputId,
                        ConfigPageIds::InputPipes(set, input));
    }
}

void ConfigPageTree::Relabel()
{
    const TunesRecord& tunes = m_host.Driver().Configuration().tunes;
    const auto label = [this](int pageId, const QString& text) {
        if (const PageEntry* entry = m_pages.Find(pageId))
            m_pages.SetPageCaption(entry->item, text);
    };
    for (int set = 0; set < kDbCount; ++set) {
        label(ConfigPageIds::SetNode(set), SetNodeLabel(tunes, set));
        for (int input = 0; input < kInputCount; ++input)
            label(ConfigPageIds::InputNode(set, input), InputNodeLabel(tunes, set, input));
    }
    emit relabelled();
}
