#include "gui/config/config_page_tree.h"

#include "config/config_page_labels.h"
#include "gui/config/config_branch_page.h"
#include "gui/config/config_system_page.h"
#include "gui/config/configuration_frame_page.h"
#include "gui/config/controls_and_alarms_page.h"
#include "gui/config/input_pipes_page.h"
#include "gui/config/input_scheme_page.h"
#include "gui/config/thermal_inputs_page.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/page_tree.h"
#include "protocol/driver_access.h"

#include <QTreeWidgetItem>

ConfigPageTree::ConfigPageTree(PageTree& pages, PageHost& host, QObject* parent)
    : QObject(parent), m_pages(pages), m_host(host)
{}

void ConfigPageTree::Build()
{
    m_system = new CDlgMainConfigSystem(m_host);
    m_system->SetHelpPage(QStringLiteral("config-system.html"));
    m_pages.AddPage(QStringLiteral("Система"), m_system, CDlgMainConfig::kPageId, ConfigPageIds::kSystem);
    for (int set = 0; set < kDbCount; ++set)
        AddSet(set);
    auto* controls = new CDlgMainConfigCtrlsAndAlarms(m_host);
    controls->SetHelpPage(QStringLiteral("config-controls.html"));
    m_pages.AddPage(QStringLiteral("Контроли и алармы"), controls, CDlgMainConfig::kPageId,
                    ConfigPageIds::kControlsAndAlarms);
    emit relabelled();
}

void ConfigPageTree::AddSet(int set)
{
    const TunesRecord& tunes = m_host.Driver().Configuration().tunes;
    const int setId = ConfigPageIds::SetNode(set);
    auto* setNode = new CDlgMainConfigBranch(m_host, m_pages, setId);
    setNode->SetHelpPage(QStringLiteral("config-inputs.html"));  // what is below it
    m_pages.AddPage(SetNodeLabel(tunes, set), setNode, CDlgMainConfig::kPageId, setId);
    auto* inputs = new CDlgMainConfigWi(m_host, set);
    connect(inputs, &CDlgMainConfigWi::inputChosen, this,
            [this, set](int input) { m_host.SelectPage(ConfigPageIds::InputNode(set, input)); });
    m_pages.AddPage(QStringLiteral("Тепловые вводы"), inputs, setId, ConfigPageIds::ThermalInputs(set));
    for (int input = 0; input < kInputCount; ++input) {
        const int inputId = ConfigPageIds::InputNode(set, input);
        m_pages.AddPage(InputNodeLabel(tunes, set, input), new CDlgMainConfigBranch(m_host, m_pages, inputId), setId,
                        inputId);
        m_pages.AddPage(QStringLiteral("Общие"), new CDlgMainConfigWiScheme(m_host, set, input), inputId,
                        ConfigPageIds::InputScheme(set, input));
        auto* pipes = new CDlgMainConfigPipes(m_host, set, input);
        pipes->SetHelpPage(QStringLiteral("config-pipes.html"));
        m_pages.AddPage(QStringLiteral("Трубы 1...3"), pipes, inputId, ConfigPageIds::InputPipes(set, input));
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
        for (int input = 0; input < kInputCount; ++input) {
            label(ConfigPageIds::InputNode(set, input), InputNodeLabel(tunes, set, input));
            // Taking the second set into use (or out of it) opens (or closes) its input pages.
            if (const PageEntry* entry = m_pages.Find(ConfigPageIds::InputScheme(set, input))) {
                if (auto* scheme = qobject_cast<CDlgMainConfigWiScheme*>(entry->page))
                    scheme->RefreshPageState();
            }
        }
    }
    emit relabelled();
}
