#include "config/ui/pipes_page_column.h"

#include "config/pressure_units.h"
#include "config/ui/pipe_page_fields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr NumericFieldRule kPlainRule{false, -1};
constexpr NumericFieldRule kHeightRule{true, -1};  // the sensor may sit above or below the pipe

QGroupBox* ChannelBox(const QString& title, QLabel* state, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QFormLayout(box);
    layout->addRow(state);
    return box;
}

QFormLayout* FormOf(QGroupBox* box) { return static_cast<QFormLayout*>(box->layout()); }

}  // namespace

PipesPageColumn::PipesPageColumn(int pipe, Binding binding, QWidget* parent)
    : QGroupBox(QStringLiteral("Труба %1").arg(pipe + 1), parent), m_pipe(pipe), m_binding(std::move(binding))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeFlowBox());
    layout->addWidget(MakeTemperatureBox());
    layout->addWidget(MakePressureBox());
    layout->addStretch();
}

QLineEdit* PipesPageColumn::Numeric(const QString& name, const NumericFieldRule& rule, std::function<void(double)> store)
{
    QLineEdit* edit = MakeNumericEdit(rule, std::move(store), m_binding.loading, this);
    edit->setObjectName(QStringLiteral("%1%2").arg(name).arg(m_pipe + 1));
    return edit;
}

QComboBox* PipesPageColumn::Choice(const QString& name, ValueTexts table, std::function<void(unsigned)> set)
{
    QComboBox* list = MakeChoiceList(
        table,
        [this, set = std::move(set)](unsigned value) {
            set(value);
            m_binding.flagsChanged();
        },
        m_binding.loading, this);
    list->setObjectName(QStringLiteral("%1%2").arg(name).arg(m_pipe + 1));
    return list;
}

QLabel* PipesPageColumn::NamedLabel(const QString& name)
{
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("%1%2").arg(name).arg(m_pipe + 1));
    return label;
}

QGroupBox* PipesPageColumn::MakeFlowBox()
{
    auto pipe = m_binding.pipe;
    m_volumeState = NamedLabel(QStringLiteral("volumeState"));
    m_flowMeterType = Choice(QStringLiteral("flowMeterType"), kFlowMeterTypeTexts,
                             [pipe](unsigned v) { pipe().SetFlowMeterType(v); });
    m_pulseWeight = Numeric(QStringLiteral("pulseWeight"), kPlainRule, [pipe](double v) { pipe().pulseWeight = float(v); });
    m_powerControl = Choice(QStringLiteral("powerControl"), kPowerControlTexts,
                            [pipe](unsigned v) { pipe().SetPowerControl(v); });
    m_volumeControl = Choice(QStringLiteral("volumeControl"), kVolumeControlTexts,
                             [pipe](unsigned v) { pipe().SetVolumeControl(v); });
    m_volumeMin = Numeric(QStringLiteral("volumeMin"), kPlainRule, [pipe](double v) { pipe().hourlyVolumeMin = float(v); });
    m_volumeMax = Numeric(QStringLiteral("volumeMax"), kPlainRule, [pipe](double v) { pipe().hourlyVolumeMax = float(v); });
    m_volumeContract = Numeric(QStringLiteral("volumeContract"), kPlainRule,
                               [pipe](double v) { pipe().hourlyVolumeContract = float(v); });

    QGroupBox* box = ChannelBox(QStringLiteral("Каналы расхода:"), m_volumeState, this);
    QFormLayout* form = FormOf(box);
    form->addRow(QStringLiteral("Тип ВС:"), m_flowMeterType);
    form->addRow(QStringLiteral("Вес импульса (л/имп.):"), m_pulseWeight);
    form->addRow(QStringLiteral("Контроль ВС:"), m_powerControl);
    form->addRow(QStringLiteral("Контроль V:"), m_volumeControl);
    form->addRow(QStringLiteral("Vmin (м3):"), m_volumeMin);
    form->addRow(QStringLiteral("Vmax (м3):"), m_volumeMax);
    form->addRow(QStringLiteral("Vдог. (м3):"), m_volumeContract);
    return box;
}

QGroupBox* PipesPageColumn::MakeTemperatureBox()
{
    auto pipe = m_binding.pipe;
    m_temperatureState = NamedLabel(QStringLiteral("temperatureState"));
    m_contractTemperature = Numeric(QStringLiteral("contractTemperature"), kContractTemperatureRule,
                                    [pipe](double v) { pipe().contractTemperature = float(v); });
    QGroupBox* box = ChannelBox(QStringLiteral("Каналы температуры:"), m_temperatureState, this);
    FormOf(box)->addRow(QStringLiteral("tдог. (гр.С):"), m_contractTemperature);
    return box;
}

QGroupBox* PipesPageColumn::MakePressureBox()
{
    auto pipe = m_binding.pipe;
    auto units = m_binding.unitSystem;
    m_pressureState = NamedLabel(QStringLiteral("pressureState"));
    m_pressureSensor = Choice(QStringLiteral("pressureSensor"), kPressureSensorTexts,
                              [pipe](unsigned v) { pipe().SetPressureSensor(v != 0); });
    m_contractPressure = Numeric(QStringLiteral("contractPressure"), kPressureFieldRule, [pipe, units](double v) {
        pipe().contractPressure = PressureFromDisplay(v, units());
    });
    m_sensorLimit = Numeric(QStringLiteral("sensorLimit"), kPressureFieldRule, [pipe, units](double v) {
        pipe().sensorUpperLimit = PressureFromDisplay(v, units());
    });
    m_heightCorrection = Numeric(QStringLiteral("heightCorrection"), kHeightRule,
                                 [pipe](double v) { pipe().heightCorrection = float(v); });
    m_contractPressureCaption = NamedLabel(QStringLiteral("contractPressureCaption"));
    m_sensorLimitCaption = NamedLabel(QStringLiteral("sensorLimitCaption"));

    QGroupBox* box = ChannelBox(QStringLiteral("Каналы давления:"), m_pressureState, this);
    QFormLayout* form = FormOf(box);
    form->addRow(QStringLiteral("Датчик P:"), m_pressureSensor);
    form->addRow(m_contractPressureCaption, m_contractPressure);
    form->addRow(m_sensorLimitCaption, m_sensorLimit);
    form->addRow(QStringLiteral("Pп (м):"), m_heightCorrection);
    return box;
}

void PipesPageColumn::Load(const PipeSettings& settings, const PipeChannelStates& states, unsigned unitSystem)
{
    SelectValue(m_flowMeterType, settings.FlowMeterType());
    ShowNumber(m_pulseWeight, settings.pulseWeight, 4);
    SelectValue(m_powerControl, settings.PowerControl());
    SelectValue(m_volumeControl, settings.VolumeControl());
    ShowNumber(m_volumeMin, settings.hourlyVolumeMin, 5);
    ShowNumber(m_volumeMax, settings.hourlyVolumeMax, 5);
    ShowNumber(m_volumeContract, settings.hourlyVolumeContract, 5);
    ShowNumber(m_contractTemperature, settings.contractTemperature, 3);
    SelectValue(m_pressureSensor, settings.PressureSensor() ? 1 : 0);
    m_contractPressureCaption->setText(ContractPressureCaption(unitSystem));
    ShowNumber(m_contractPressure, PressureToDisplay(settings.contractPressure, unitSystem), 5);
    m_sensorLimitCaption->setText(SensorLimitCaption(unitSystem));
    ShowNumber(m_sensorLimit, PressureToDisplay(settings.sensorUpperLimit, unitSystem), 5);
    ShowNumber(m_heightCorrection, settings.heightCorrection, 1);
    ShowStates(states);
}

void PipesPageColumn::ShowStates(const PipeChannelStates& states)
{
    m_volumeState->setText(VolumeStateText(states.volume));
    m_temperatureState->setText(TemperatureStateText(states.temperature));
    m_pressureState->setText(PressureStateText(states.pressure));

    const bool volume = states.volume != ChannelState::kUnused;
    for (QWidget* field : std::initializer_list<QWidget*>{m_flowMeterType, m_pulseWeight, m_powerControl,
                                                          m_volumeControl, m_volumeMin, m_volumeMax, m_volumeContract})
        field->setEnabled(volume);
    m_contractTemperature->setEnabled(states.temperature != ChannelState::kUnused);
    const bool pressure = states.pressure != ChannelState::kUnused;
    m_pressureSensor->setEnabled(pressure && states.pressureChannel);
    for (QWidget* field : {m_contractPressure, m_sensorLimit, m_heightCorrection})
        field->setEnabled(pressure);
}
