#include "gui/config/pipes_page_column.h"

#include "config/pressure_units.h"
#include "gui/config/pipe_page_fields.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr NumericFieldRule kPlainRule{false, -1};
constexpr NumericFieldRule kHeightRule{true, -1};  // the sensor may sit above or below the pipe

}  // namespace

PipesPageColumn::PipesPageColumn(int pipe, Binding binding, QWidget* parent)
    : QObject(parent), m_pipe(pipe), m_binding(std::move(binding)), m_parent(parent)
{
    MakeFlowFields();
    MakeTemperatureFields();
    MakePressureFields();
}

QLabel* PipesPageColumn::State(PipeChannel channel) const
{
    switch (channel) {
        case PipeChannel::kFlow:
            return m_volumeState;
        case PipeChannel::kTemperature:
            return m_temperatureState;
        case PipeChannel::kPressure:
            break;
    }
    return m_pressureState;
}

QList<QWidget*> PipesPageColumn::Fields(PipeChannel channel) const
{
    switch (channel) {
        case PipeChannel::kFlow:
            return {m_flowMeterType, m_pulseWeight, m_powerControl,  m_volumeControl,
                    m_volumeMin,     m_volumeMax,   m_volumeContract};
        case PipeChannel::kTemperature:
            return {m_contractTemperature};
        case PipeChannel::kPressure:
            break;
    }
    return {m_pressureSensor, m_contractPressure, m_sensorLimit, m_heightCorrection};
}

QLineEdit* PipesPageColumn::Numeric(const QString& name, const NumericFieldRule& rule,
                                    std::function<void(double)> store)
{
    QLineEdit* edit = MakeNumericEdit(rule, std::move(store), m_binding.loading, m_parent);
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
        m_binding.loading, m_parent);
    list->setObjectName(QStringLiteral("%1%2").arg(name).arg(m_pipe + 1));
    return list;
}

QLabel* PipesPageColumn::NamedLabel(const QString& name)
{
    auto* label = new QLabel(m_parent);
    label->setObjectName(QStringLiteral("%1%2").arg(name).arg(m_pipe + 1));
    return label;
}

void PipesPageColumn::MakeFlowFields()
{
    auto pipe = m_binding.pipe;
    m_volumeState = NamedLabel(QStringLiteral("volumeState"));
    m_flowMeterType = Choice(QStringLiteral("flowMeterType"), kFlowMeterTypeTexts,
                             [pipe](unsigned v) { pipe().SetFlowMeterType(v); });
    m_pulseWeight = Numeric(QStringLiteral("pulseWeight"), kPlainRule,
                            [pipe](double v) { pipe().pulseWeight = float(v); });
    m_powerControl = Choice(QStringLiteral("powerControl"), kPowerControlTexts,
                            [pipe](unsigned v) { pipe().SetPowerControl(v); });
    m_volumeControl = Choice(QStringLiteral("volumeControl"), kVolumeControlTexts,
                             [pipe](unsigned v) { pipe().SetVolumeControl(v); });
    m_volumeMin = Numeric(QStringLiteral("volumeMin"), kPlainRule,
                          [pipe](double v) { pipe().hourlyVolumeMin = float(v); });
    m_volumeMax = Numeric(QStringLiteral("volumeMax"), kPlainRule,
                          [pipe](double v) { pipe().hourlyVolumeMax = float(v); });
    m_volumeContract = Numeric(QStringLiteral("volumeContract"), kPlainRule,
                               [pipe](double v) { pipe().hourlyVolumeContract = float(v); });
}

void PipesPageColumn::MakeTemperatureFields()
{
    auto pipe = m_binding.pipe;
    m_temperatureState = NamedLabel(QStringLiteral("temperatureState"));
    m_contractTemperature = Numeric(QStringLiteral("contractTemperature"), kContractTemperatureRule,
                                    [pipe](double v) { pipe().contractTemperature = float(v); });
}

void PipesPageColumn::MakePressureFields()
{
    auto pipe = m_binding.pipe;
    auto units = m_binding.unitSystem;
    m_pressureState = NamedLabel(QStringLiteral("pressureState"));
    m_pressureSensor = Choice(QStringLiteral("pressureSensor"), kPressureSensorTexts,
                              [pipe](unsigned v) { pipe().SetPressureSensor(v != 0); });
    m_contractPressure = Numeric(QStringLiteral("contractPressure"), kPressureFieldRule, [pipe, units](double v) {
        pipe().contractPressure = PressureFromDisplay(v, units());
    });
    m_sensorLimit = Numeric(QStringLiteral("sensorLimit"), kPressureFieldRule,
                            [pipe, units](double v) { pipe().sensorUpperLimit = PressureFromDisplay(v, units()); });
    m_heightCorrection = Numeric(QStringLiteral("heightCorrection"), kHeightRule,
                                 [pipe](double v) { pipe().heightCorrection = float(v); });
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
    ShowNumber(m_contractPressure, PressureToDisplay(settings.contractPressure, unitSystem), 5);
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
