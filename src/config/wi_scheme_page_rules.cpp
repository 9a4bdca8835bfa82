#include "config/wi_scheme_page_rules.h"

#include "config/model_capabilities.h"
#include "config/scheme_table.h"

bool OutdoorAirMeasurable(const InputSettings& in, int input, int model)
{
    const bool t3OnSpare = in.Kt3() == 2 || in.Kt3() == 3;
    return HasSpareTemperatureChannel(model, input) && !t3OnSpare && in.ColdWaterUse() != 2;
}

WiSchemeControlStates BringInputIntoLine(ConfigurationBlocks& blocks, int set, int input)
{
    InputSettings& in = blocks.tunes.db[set].inputs[input];
    const int model = blocks.identity.modelIndex;
    WiSchemeControlStates states;
    states.page = set == 0 || blocks.tunes.Db2Used();
    states.inputSettings = states.page && in.scheme >= 1 && in.scheme <= kMaxScheme;
    if (!states.inputSettings)
        return states;

    states.outdoorAirMeasurable = OutdoorAirMeasurable(in, input, model);
    if (!states.outdoorAirMeasurable)
        in.SetOutdoorAirMeasured(false);
    states.heatControl = SchemeComputesHeat(in.scheme);
    if (!states.heatControl)
        in.SetHeatControl(0);
    const SchemeCombination* row = CombinationAt(in.scheme, FindCombination(in.scheme, in.Kt3(), in.Frt()));
    states.imbalanceControl = row && row->DmControlOffered();
    states.deltaTControl = row && row->DtControlOffered();
    return states;
}
