#include "gui/config/input_pipes_page.h"

#include "config/pipes_page_states.h"
#include "gui/config/pipes_page_column.h"
#include "protocol/driver_access.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <initializer_list>

namespace {

// The row captions of each channel, in the order of the column's fields. An empty caption is the unit
// system's pressure caption, which the page keeps up to date itself.
struct ChannelRows {
    PipeChannel channel;
    const char* title;
    std::initializer_list<const char*> captions;
};

const ChannelRows kChannelRows[] = {
    {PipeChannel::kFlow,
     "Каналы расхода:",
     {"Тип ВС:", "Вес импульса (л/имп.):", "Контроль ВС:", "Контроль V:", "Vmin (м3):", "Vmax (м3):", "Vдог. (м3):"}},
    {PipeChannel::kTemperature, "Каналы температуры:", {"tдог. (гр.С):"}},
    {PipeChannel::kPressure, "Каналы давления:", {"Датчик P:", "", "", "Pп (м):"}},
};

QLabel* BoldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

CDlgMainConfigPipes::CDlgMainConfigPipes(PageHost& host, int set, int input, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent), m_set(set), m_input(input), m_content(new QWidget)
{
    SetCaption(QStringLiteral("Трубы 1...3"));
    // One grid, the pipes side by side and each row's caption once at the left: three whole forms side by
    // side do not fit the window's smallest size.
    auto* grid = new QGridLayout(m_content);
    for (int p = 0; p < kPipeCount; ++p) {
        PipesPageColumn::Binding binding{[this, p]() -> PipeSettings& { return Pipe(p); },
                                         [this] { return Blocks().tunes.UnitSystem(); }, [this] { ShowStates(); },
                                         m_loading};
        m_columns[p] = new PipesPageColumn(p, std::move(binding), m_content);
        grid->addWidget(BoldLabel(QStringLiteral("Труба %1").arg(p + 1), m_content), 0, p + 1);
        grid->setColumnStretch(p + 1, 1);
    }
    m_contractPressureCaption = new QLabel(m_content);
    m_contractPressureCaption->setObjectName(QStringLiteral("contractPressureCaption"));
    m_sensorLimitCaption = new QLabel(m_content);
    m_sensorLimitCaption->setObjectName(QStringLiteral("sensorLimitCaption"));
    QLabel* pressureCaptions[] = {m_contractPressureCaption, m_sensorLimitCaption};
    int row = 1;
    int nextPressureCaption = 0;
    for (const ChannelRows& rows : kChannelRows) {
        if (row > 1)
            grid->setRowMinimumHeight(row++, 6);
        grid->addWidget(BoldLabel(QString::fromUtf8(rows.title), m_content), row, 0);
        for (int p = 0; p < kPipeCount; ++p)
            grid->addWidget(m_columns[p]->State(rows.channel), row, p + 1);
        ++row;
        int field = 0;
        for (const char* caption : rows.captions) {
            QLabel* label = *caption ? new QLabel(QString::fromUtf8(caption), m_content)
                                     : pressureCaptions[nextPressureCaption++];
            grid->addWidget(label, row, 0);
            for (int p = 0; p < kPipeCount; ++p)
                grid->addWidget(m_columns[p]->Fields(rows.channel)[field], row, p + 1);
            ++row;
            ++field;
        }
    }
    grid->setRowStretch(row, 1);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(m_content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    Reload();
}

ConfigurationBlocks& CDlgMainConfigPipes::Blocks() const
{
    return Host().Driver().Configuration();
}

PipeSettings& CDlgMainConfigPipes::Pipe(int pipe) const
{
    return Blocks().tunes.db[m_set].pipes[m_input][pipe];
}

bool CDlgMainConfigPipes::IsEditable() const
{
    return PipesEditable(Blocks().tunes, m_set, m_input);
}

void CDlgMainConfigPipes::OnPageShown()
{
    // A sensor on a channel the model lacks could never be read; the checks before writing refuse it.
    for (int p = 0; p < kPipeCount; ++p) {
        if (!PipeChannelStatesOf(Blocks(), m_set, m_input, p).pressureChannel)
            Pipe(p).SetPressureSensor(false);
    }
    Reload();
}

void CDlgMainConfigPipes::OnConfigurationReplaced()
{
    Reload();
}

void CDlgMainConfigPipes::Reload()
{
    m_loading = true;
    const unsigned unitSystem = Blocks().tunes.UnitSystem();
    m_contractPressureCaption->setText(ContractPressureCaption(unitSystem));
    m_sensorLimitCaption->setText(SensorLimitCaption(unitSystem));
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
