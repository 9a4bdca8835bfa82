#include "config/tx_choices.h"

#include "config/config_texts.h"
#include "config/model_capabilities.h"
#include "config/scheme_labels.h"
#include "config/scheme_table.h"

namespace {

void Add(TxChoices& choices, int input, unsigned value)
{
    choices.entries.push_back({value, TextOf(kColdWaterUseTexts[input], value)});
}

}  // namespace

bool CombinationNeedsColdWater(int scheme, unsigned kt3, unsigned frt, bool alternativeQg)
{
    const bool formulaWithoutHx = frt == 0 || frt == 2 || frt >= 8;
    const int row = FindCombination(scheme, kt3, frt);
    return !formulaWithoutHx || QgLabelIndex(scheme, row, alternativeQg) < kQgLabelNone;
}

QString TxInUseMessage(int otherInput)
{
    return QString::asprintf(
        "Измеряемая tx используется в ТВ%d. Необходимо предварительно изменить способ использования tx в ТВ%d!",
        otherInput + 1, otherInput + 1);
}

TxChoices BuildTxChoices(DbSettings& db, int input, const DeviceIdentity& identity)
{
    InputSettings& in = db.inputs[input];
    const int other = 1 - input;
    const InputSettings& otherIn = db.inputs[other];
    const int model = identity.modelIndex;

    TxChoices choices;
    if (!CombinationNeedsColdWater(in.scheme, in.Kt3(), in.Frt(), identity.AlternativeQgLabels())) {
        in.SetColdWaterUse(0);
        return choices;
    }
    choices.enabled = true;
    Add(choices, input, 0);
    Add(choices, input, 1);
    const bool t3OnSpare = in.Kt3() == 2 || in.Kt3() == 3;
    if (HasSpareTemperatureChannel(model, input) && !t3OnSpare && !in.OutdoorAirMeasured())
        Add(choices, input, 2);
    if (HasSpareTemperatureChannel(model, other) && otherIn.scheme != 0
        && (otherIn.ColdWaterUse() == 2 || otherIn.Kt3() < 2))
        Add(choices, input, 3);

    for (std::size_t i = 0; i < choices.entries.size(); ++i) {
        if (choices.entries[i].value == in.ColdWaterUse())
            choices.selected = int(i);
    }
    if (choices.selected < 0) {
        choices.selected = 0;
        in.SetColdWaterUse(choices.entries.front().value);
    }
    return choices;
}

bool SelectTxChoice(DbSettings& db, int input, const TxChoices& choices, int position, ConfigMessageHost& host)
{
    if (position < 0 || position >= int(choices.entries.size())) {
        ShowConfigError(host, "Ошибка выполнения CDlgMainConfigWiScheme::OnSelchangeComboUseTx!");
        return false;
    }
    InputSettings& in = db.inputs[input];
    const int other = 1 - input;
    const InputSettings& otherIn = db.inputs[other];
    const unsigned value = choices.entries[std::size_t(position)].value;
    if (in.ColdWaterUse() == 2 && value != 2 && otherIn.scheme != 0 && otherIn.ColdWaterUse() == 3) {
        ShowConfigInformation(host, TxInUseMessage(other));
        return false;
    }
    in.SetColdWaterUse(value);
    return true;
}
