#pragma once
// One column "Труба %d" of the pipes page: the fields of the flow, temperature and pressure channels of one
// pipe and each channel's state text. The page lays the columns out in one grid with the row captions
// once at the left. The column edits the pipe through the page's accessor, so it always writes into the
// record in the driver as it is now.

#include "config/config_field_rules.h"
#include "config/config_texts.h"
#include "config/pipes_page_states.h"

#include <QList>
#include <QObject>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

// The channels of a pipe, in the page's order.
enum class PipeChannel { kFlow, kTemperature, kPressure };

class PipesPageColumn : public QObject {
    Q_OBJECT

public:
    struct Binding {
        std::function<PipeSettings&()> pipe;   // the pipe in the record
        std::function<unsigned()> unitSystem;  // how pressures are shown and typed
        std::function<void()> flagsChanged;    // a choice changed what the states may be
        const bool& loading;                   // the page's loading flag
    };

    // The fields are made as children of `parent`, where the page lays them out.
    PipesPageColumn(int pipe, Binding binding, QWidget* parent);

    // The state text of a channel, and its fields in the order of the page's rows.
    QLabel* State(PipeChannel channel) const;
    QList<QWidget*> Fields(PipeChannel channel) const;

    // Every value of the pipe, pressures in the unit system's unit, then the states.
    void Load(const PipeSettings& settings, const PipeChannelStates& states, unsigned unitSystem);
    // The state texts, and which fields may be edited.
    void ShowStates(const PipeChannelStates& states);

private:
    void MakeFlowFields();
    void MakeTemperatureFields();
    void MakePressureFields();
    QLineEdit* Numeric(const QString& name, const NumericFieldRule& rule, std::function<void(double)> store);
    QComboBox* Choice(const QString& name, ValueTexts table, std::function<void(unsigned)> set);
    QLabel* NamedLabel(const QString& name);

    const int m_pipe;
    Binding m_binding;
    QWidget* m_parent;

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
    QLineEdit* m_contractPressure;
    QLineEdit* m_sensorLimit;
    QLineEdit* m_heightCorrection;
};
