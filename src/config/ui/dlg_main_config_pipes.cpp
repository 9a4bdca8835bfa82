#include "config/ui/dlg_main_config_pipes.h"

#include "config/pipes_page_states.h"
#include "config/ui/pipes_page_column.h"
#include "protocol/rovo_redod.h"

#include <QHBoxLayout>
#include <QScrollArea>

CDlgMainConfigPipes::CDlgMainConfigPipes(PageHost& host, int set, int input, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent), m_set(set), m_input(input), m_content(new QWidget)
{
    SetCaption(QStringLiteral("Трубы 1...3"));
    auto* columns = new QHBoxLayout(m_content);
    for (int p = 0; p < kPipeCount; ++p) {
        PipesPageColumn::Binding binding{[this, p]() -> PipeSettings& { return Pipe(p); },
                                         [this] { return Blocks().tunes.UnitSystem(); }, [this] { ShowStates(); },
                                         m_loading};
        m_columns[p] = new PipesPageColumn(p, std::move(binding), m_content);
        columns->addWidget(m_columns[p]);
    }
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(m_content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    Reload();
}

ConfigurationBlocks& CDlgMainConfigPipes::Blocks() const { return Host().Driver().Configuration(); }

PipeSettings& CDlgMainConfigPipes::Pipe(int pipe) const { return Blocks().tunes.db[m_set].pipes[m_input][pipe]; }

bool CDlgMainConfigPipes::IsEditable() const { return PipesEditable(Blocks().tunes, m_set, m_input); }

void CDlgMainConfigPipes::OnPageShown()
{
    // A sensor on a channel the model lacks could never be read; the checks before writing refuse it.
    for (int p = 0; p < kPipeCount; ++p) {
        if (!PipeChannelStatesOf(Blocks(), m_set, m_input, p).pressureChannel)
            Pipe(p).SetPressureSensor(false);
    }
    Reload();
}

void CDlgMainConfigPipes::OnConfigurationReplaced() { Reload(); }

void CDlgMainConfigPipes::Reload()
{
    m_loading = true;
    const unsigned unitSystem = Blocks().tunes.UnitSystem();
    for (int p = 0; p < kPipeCount; ++p)
        m_columns[p]->Load(Pipe(p), PipeChannelStatesOf(Blocks(), m_set, m_input, p), unitSystem);
    m_content->setEnabled(IsEditable());
    m_loading = false;
}

void CDlgMainConfigPipes::ShowStates()
{
    for (int p = 0; p < kPipeCount; ++p)
        m_columns[p]->ShowStates(PipeChannelStatesOf(Blocks(), m_set, m_input, p));
}
