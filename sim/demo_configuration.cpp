#include "demo_configuration.h"

#include "config/model_capabilities.h"
#include "config/scheme_table.h"
#include "config/tunes_defaults.h"

namespace {

// Scheme numbers of ТВ1 and ТВ2; each uses its scheme's first combination (КТ3 1: pipe 3 measures volume).
constexpr int kSchemes[kInputCount] = {1, 5};

struct PipePlan {
    float contractTemperature;  // °C
    float contractPressure;     // MPa
    bool pressureSensor;
    unsigned flowMeterType;                      // 0 mechanical, 1 electronic
    float pulseWeight;                           // l per pulse
    float hourlyMin, hourlyMax, hourlyContract;  // m³
};

// Flows of the archives: ТВ1 supply 3..8 m³/h, ТВ2 1..3 m³/h, each swinging by up to ±45 %; pipe 3
// 0.2..0.6 m³/h swinging by up to ±55 %. The limits leave room for every seed.
constexpr PipePlan kPipes[kInputCount][kPipeCount] = {
    {{70.0f, 0.60f, true, 1, 10.0f, 1.0f, 15.0f, 6.0f},
     {45.0f, 0.35f, true, 1, 10.0f, 1.0f, 15.0f, 5.8f},
     {55.0f, 0.45f, false, 0, 1.0f, 0.05f, 1.5f, 0.4f}},
    {{70.0f, 0.60f, true, 1, 2.5f, 0.3f, 6.0f, 2.0f},
     {45.0f, 0.35f, true, 1, 2.5f, 0.3f, 6.0f, 1.94f},
     {10.0f, 0.45f, false, 0, 1.0f, 0.05f, 1.5f, 0.4f}},
};

constexpr unsigned kVolumeWithSubstitutes = 2;     // "Контр.V": "С подст."
constexpr unsigned kImbalanceWithSubstitutes = 3;  // "Контр.dM": "С подст.1"
constexpr unsigned kHeatWithSubstitutes = 2;       // "Контр.Q": "С подст."
constexpr unsigned kDeltaTWithSubstitutes = 1;     // "Контр.dt": "С подст."
constexpr unsigned kColdWaterOwnChannel = 2;       // "Исп.tx": measured on the input's own spare channel
constexpr unsigned kColdWaterOtherChannel = 3;     // ... on the other input's
constexpr unsigned kExtraPulseCount = 2;           // "Счет импульсов"

void PlanPipe(PipeSettings& pipe, const PipePlan& plan, bool pressureChannel)
{
    pipe.contractTemperature = plan.contractTemperature;
    pipe.contractPressure = plan.contractPressure;
    pipe.SetPressureSensor(plan.pressureSensor && pressureChannel);
    pipe.sensorUpperLimit = 1.6f;
    pipe.heightCorrection = 0.0f;
    pipe.SetFlowMeterType(plan.flowMeterType);
    pipe.pulseWeight = plan.pulseWeight;
    pipe.hourlyVolumeMin = plan.hourlyMin;
    pipe.hourlyVolumeMax = plan.hourlyMax;
    pipe.hourlyVolumeContract = plan.hourlyContract;
    pipe.SetVolumeControl(kVolumeWithSubstitutes);
}

// True when the input is in use afterwards.
bool PlanInput(DbSettings& db, int input, int model)
{
    const InputScheme scheme = DemoInputScheme(input);
    InputSettings& settings = db.inputs[input];
    bool allowed = false;
    for (const int row : CombinationListFor(scheme.si, model, input)) {
        const SchemeCombination* combination = CombinationAt(scheme.si, row);
        allowed = allowed || (combination->Kt3() == scheme.kt3 && combination->Frt() == scheme.frt);
    }
    if (!allowed)
        return false;
    settings.scheme = scheme.si;
    MakeDefaultInput(db, input, model);
    settings.SetKt3(scheme.kt3);
    settings.SetFrt(scheme.frt);
    settings.maxImbalance = 2.0f;
    settings.contractColdTemperature = 5.0f;
    settings.contractColdPressure = 0.3f;
    const SchemeCombination* combination = CombinationAt(scheme.si, 0);
    if (combination->DmControlOffered())
        settings.SetImbalanceControl(kImbalanceWithSubstitutes);
    settings.SetHeatControl(kHeatWithSubstitutes);
    if (combination->DtControlOffered())
        settings.SetDeltaTControl(kDeltaTWithSubstitutes);
    // One cold-water sensor on ТВ1's spare channel serves both inputs.
    if (HasSpareTemperatureChannel(model, 0))
        settings.SetColdWaterUse(input == 0 ? kColdWaterOwnChannel : kColdWaterOtherChannel);
    for (int pipe = 0; pipe < kPipeCount; ++pipe)
        PlanPipe(db.pipes[input][pipe], kPipes[input][pipe], HasPressureChannel(model, input, pipe));
    return true;
}

}  // namespace

InputScheme DemoInputScheme(int input)
{
    const int scheme = kSchemes[input];
    const SchemeCombination* first = CombinationAt(scheme, 0);
    return InputScheme{static_cast<std::uint8_t>(scheme), static_cast<std::uint8_t>(first->Kt3()),
                       static_cast<std::uint8_t>(first->Frt()), 0};
}

HourlyVolumeLimits DemoHourlyVolumeLimits(int input, int pipe)
{
    return {kPipes[input][pipe].hourlyMin, kPipes[input][pipe].hourlyMax};
}

void MakeDemoConfiguration(int model, std::uint8_t networkAddress, TunesRecord& tunes, OpenSettings& open,
                           ControlsBlock& controls)
{
    MakeDefaultTunes(tunes, open);
    open.networkAddress = networkAddress;
    controls = ControlsBlock{};
    // Inputs left out hold the defaults of an input without a scheme, as the checks would make them.
    for (int input = 0; input < kInputCount; ++input) {
        for (DbSettings& db : tunes.db) {
            db.inputs[input].scheme = 0;
            MakeDefaultInput(db, input, model);
        }
    }
    const bool tv2 = PlanInput(tunes.db[0], 1, model);
    PlanInput(tunes.db[0], 0, model);

    if (HasExtraInput(model)) {
        tunes.extra.SetUse(kExtraPulseCount);
        tunes.extra.SetUnits(0);  // м3
        tunes.extra.weightOrConfirmation = 10.0f;
        tunes.extra.hourlyMin = 0.0f;
        tunes.extra.hourlyMax = 10.0f;
    }

    // Supply temperature and return pressure of ТВ1, its hourly dt, and the flow in ТВ2's supply.
    struct Watch {
        ControlKind kind;
        unsigned number, parameter;
        float minimum, maximum;
    };
    static constexpr Watch kWatches[kControlCount] = {
        {kControlPipe, 0, 0, 40.0f, 100.0f},  // t1 ТВ1, "tтек."
        {kControlPipe, 1, 1, 0.2f, 0.8f},     // P2 ТВ1, "Pтек."
        {kControlInput, 0, 1, 5.0f, 40.0f},   // ТВ1, "dtч."
        {kControlPipe, 3, 2, 0.3f, 5.0f},     // V1 ТВ2, "Gо тек."
    };
    const int watched = tv2 ? kControlCount : kControlCount - 1;
    for (int n = 0; n < watched; ++n) {
        ControlEntry& entry = controls.controls[n];
        entry.SetKind(kWatches[n].kind);
        entry.SetNumber(kWatches[n].number);
        entry.SetParameter(kWatches[n].parameter);
        entry.minimum = kWatches[n].minimum;
        entry.maximum = kWatches[n].maximum;
    }
}
