#include "config/pipes_page_states.h"

#include "config/model_capabilities.h"
#include "config/pipe_use.h"
#include "config/scheme_table.h"
#include "config/settings_report_markup.h"

namespace {

QString StateText(char quantity, ChannelState state)
{
    switch (state) {
        case ChannelState::kMeasured:
            return QStringLiteral("(%1 измеряется)").arg(QLatin1Char(quantity));
        case ChannelState::kContract:
            return QStringLiteral("(%1 договорное)").arg(QLatin1Char(quantity));
        case ChannelState::kUnused:
            break;
    }
    return QStringLiteral("(%1 не исп.)").arg(QLatin1Char(quantity));
}

}  // namespace

PipeChannelStates PipeChannelStatesOf(const ConfigurationBlocks& blocks, int set, int input, int pipe)
{
    PipeChannelStates states;
    const int model = blocks.identity.modelIndex;
    states.pressureChannel = HasPressureChannel(model, input, pipe);
    const InputSettings& in = blocks.tunes.db[set].inputs[input];
    const SchemeEntry* scheme = in.scheme != 0 ? SchemeAt(in.scheme) : nullptr;
    if (scheme == nullptr)
        return states;
    const PipeUse use = UseOfPipe(*scheme, in.Kt3(), blocks.identity.Pipe3PressureWithAnyKt3(), pipe);
    const PipeSettings& settings = blocks.tunes.db[set].pipes[input][pipe];
    if (use.temperature)
        states.temperature = HasTemperatureChannel(model, input, pipe) ? ChannelState::kMeasured
                                                                       : ChannelState::kContract;
    if (use.pressure)
        states.pressure = settings.PressureSensor() && states.pressureChannel ? ChannelState::kMeasured
                                                                              : ChannelState::kContract;
    if (use.volume && HasVolumeChannel(model, input, pipe))
        states.volume = ChannelState::kMeasured;
    return states;
}

bool PipesEditable(const TunesRecord& tunes, int set, int input)
{
    const int scheme = tunes.db[set].inputs[input].scheme;
    return (set == 0 || tunes.Db2Used()) && scheme >= 1 && scheme <= kMaxScheme;
}

QString TemperatureStateText(ChannelState state)
{
    return StateText('t', state);
}

QString PressureStateText(ChannelState state)
{
    return StateText('P', state);
}

QString VolumeStateText(ChannelState state)
{
    // A volume is either counted from the pulses or not used; there is no contract volume state.
    return StateText('V', state == ChannelState::kMeasured ? state : ChannelState::kUnused);
}

QString ContractPressureCaption(unsigned unitSystem)
{
    return QStringLiteral("P,догов.знач.(%1):").arg(settings_report::PressureUnit(unitSystem));
}

QString SensorLimitCaption(unsigned unitSystem)
{
    return QStringLiteral("Pв. (%1)").arg(settings_report::PressureUnit(unitSystem));
}
