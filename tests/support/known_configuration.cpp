#include "support/known_configuration.h"

#include "config/open_settings_text.h"
#include "config/scheme_picker.h"
#include "config/tunes_defaults.h"

namespace {

// Choosing a scheme for an input that has none asks nothing.
class SilentHost : public ConfigMessageHost {
public:
    int ShowMessage(const QString&, const QString&, unsigned) override { return MessageAnswer::kYes; }
};

}  // namespace

// Each input and pipe is set up to show one rule of the report.
ConfigurationBlocks KnownConfiguration()
{
    ConfigurationBlocks blocks;
    MakeDefaultConfiguration(blocks);
    DeviceIdentity& id = blocks.identity;
    id.typeCode = kDeviceTypeCode;
    id.softwareVersion = 0x0305;
    id.hardwareVersion = 0x0102;
    id.softwareChecksum = 0xBEEF;
    id.serialNumber = 1234;
    id.firmwareLevel = 600;

    blocks.open.networkAddress = 17;
    SetOrganisationCode(blocks.open, QStringLiteral("ТЭЦ-2 <A>"));
    SetContractText(blocks.open, QStringLiteral("Д-17/2024"));

    TunesRecord& tunes = blocks.tunes;
    tunes.reportHour = 7;
    tunes.reportDay = 1;
    tunes.SetSensorType(2);
    tunes.SetAutoDaylightSaving(true);
    tunes.extra.SetUse(2);
    tunes.extra.SetUnits(1);
    tunes.extra.weightOrConfirmation = 0.25f;
    tunes.extra.hourlyMin = 0.5f;
    tunes.extra.hourlyMax = 1000.0f;
    tunes.SetDb2Used(true);
    tunes.SetDbChangeMethod(1);
    tunes.dbStart[0] = {1, 10, 0, 6};
    tunes.dbStart[1] = {15, 4, 0, 23};

    SilentHost host;
    DbSettings& db1 = tunes.db[0];
    ApplySchemeChoice(db1, 0, id, 5, 2, host);  // КТ3 3, ФРТ 1: pipe 3 in full, Qг with hx, no dM control
    InputSettings& in11 = db1.inputs[0];
    in11.SetTemperatureControl(1);
    in11.SetDeltaTControl(2);
    in11.SetHeatControl(2);
    in11.contractColdTemperature = 5.5f;
    in11.contractColdPressure = 0.3f;
    PipeSettings& pipe111 = db1.pipes[0][0];
    pipe111.flags = 0x6A;  // electronic, common supply, "С подст.", pressure sensor
    pipe111.contractTemperature = 95.5f;
    pipe111.heightCorrection = -1.5f;
    pipe111.sensorUpperLimit = 1.6f;
    pipe111.pulseWeight = 0.01f;
    pipe111.hourlyVolumeMin = 1.25f;
    pipe111.hourlyVolumeMax = 250.5f;
    db1.pipes[0][2].flags = 0x14;  // mechanical, individual supply, "Счет отменен"

    DbSettings& db2 = tunes.db[1];
    ApplySchemeChoice(db2, 0, id, 12, 0, host);  // "Изм. V": no t, no heat, pipe 3 unused
    db2.pipes[0][0].SetPressureSensor(true);
    db2.pipes[0][0].sensorUpperLimit = 2.5f;
    db2.pipes[0][0].heightCorrection = 9.9f;
    ApplySchemeChoice(db2, 1, id, 6, 1, host);  // КТ3 0, ФРТ 1: dt and dM control
    InputSettings& in22 = db2.inputs[1];
    in22.SetImbalanceControl(3);
    in22.maxImbalance = 2.5f;
    in22.SetDeltaTControl(1);
    in22.SetHeatControl(3);
    in22.SetColdWaterUse(2);
    return blocks;
}
