#pragma once
// One column "Труба %d" of the pipes page: the flow, temperature and pressure channels of one pipe, each
// box with its state text. The column edits the pipe through the page's accessor, so it always writes
// into the record in the driver as it is now.

#include "config/config_texts.h"
#include "config/numeric_field_rule.h"
#include "config/pipes_page_states.h"

#include <QGroupBox>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;

class PipesPageColumn : public QGroupBox {
    Q_OBJECT

public:
    struct Binding {
        std::function<PipeSettings&()> pipe;  // the pipe in the record
        std::function<unsigned()> unitSystem;  // how pressures are shown and typed
        std::function<void()> flagsChanged;    // a choice changed what the states may be
        const bool& loading;                   // the page's loading flag
    };

    PipesPageColumn(int pipe, Binding binding, QWidget* parent = nullptr);

    // Every value of the pipe, the captions of the unit system, then the states.
    void Load(const PipeSettings& settings, const PipeChannelStates& states, unsigned unitSystem);
    // The state texts, and which fields may be edited.
    void ShowStates(const PipeChannelStates& states);

private:
    QGroupBox* MakeFlowBox();
    QGroupBox* MakeTemperatureBox();
    QGroupBox* MakePressureBox();
    QLineEdit* Numeric(const QString& name, const NumericFieldRule& rule, std::function<void(double)> store);
    QComboBox* Choice(const QString& name, ValueTexts table, std::function<void(unsigned)> set);
    QLabel* NamedLabel(const QString& name);

    const int m_pipe;
    Binding m_binding;

    QLabel* m_volumeState;
    QComboBox* m_flowMeterType;
    QLineEdit* m_pulseWeight;
    QComboBox* m_powerControl;
    QComboBox* m_volumeControl;
    QLineEdit* m_volumeMin;
    QLineEdit* m_volumeMax;
    QLineEdit* m_volumeContract;

    QLabel* m_temperatureState;
    QLineEdit* m_contractTemperature;

    QLabel* m_pressureState;
    QComboBox* m_pressureSensor;
    QLabel* m_contractPressureCaption;
    QLineEdit* m_contractPressure;
    QLabel* m_sensorLimitCaption;
    QLineEdit* m_sensorLimit;
    QLineEdit* m_heightCorrection;
};
