#include "config/tunes_defaults.h"

#include <cstring>

#include "config/model_capabilities.h"
#include "config/scheme_table.h"
#include "meter/archive_date.h"

namespace {

constexpr float kDefaultContractTemperature[kPipeCount] = {90.0f, 60.0f, 55.0f};

void SetDbStart(DbStartDate& start, int day, int month, int hour)
{
    start.day = std::uint8_t(day);
    start.month = std::uint8_t(month);
    start.hour = std::uint8_t(hour);
}

void MakeDefaultPipe(PipeSettings& pipe, int index)
{
    pipe.flags = 0x0040;
    pipe.contractTemperature = kDefaultContractTemperature[index];
    pipe.contractPressure = 0.6f;
    pipe.heightCorrection = 0.0f;
    pipe.sensorUpperLimit = 1.0f;
    pipe.pulseWeight = 1.0f;
    pipe.hourlyVolumeMin = 10.0f;
    pipe.hourlyVolumeMax = 100.0f;
    pipe.hourlyVolumeContract = 20.0f;
}

}  // namespace

void MakeDefaultTunes(TunesRecord& tunes, OpenSettings& open)
{
    std::memset(&tunes, 0, sizeof tunes);
    std::memset(&open, 0, sizeof open);
    tunes.reportHour = kDefaultReportHour;
    tunes.reportDay = kDefaultReportDay;
    tunes.SetUnitSystem(kUnitSystemMks);
    tunes.SetSensorType(0);
    tunes.SetAutoDaylightSaving(false);
    for (int i = 0; i < 9; ++i) {
        open.organisationCode[i] = char('0' + i);
        open.contract[i] = char('8' - i);
    }
    SetDbStart(tunes.dbStart[0], 15, 10, 23);
    SetDbStart(tunes.dbStart[1], 15, 3, 23);
    // БД2 not used, changed by hand, from the keyboard "С Доступом", from a PC "С паролем".
    tunes.dbControl = 0x0050;
}

void MakeDefaultConfiguration(ConfigurationBlocks& blocks)
{
    blocks.identity = DeviceIdentity{};
    blocks.identity.modelIndex = kDefaultModel;
    blocks.controls = ControlsBlock{};
    MakeDefaultTunes(blocks.tunes, blocks.open);
}

void MakeDefaultInput(DbSettings& db, int input, int model)
{
    InputSettings& settings = db.inputs[input];
    settings.maxImbalance = 1.0f;
    settings.contractColdTemperature = 4.0f;
    settings.contractColdPressure = 0.1f;
    if (settings.scheme >= 1 && settings.scheme <= kMaxScheme) {
        const std::vector<int> allowed = CombinationListFor(settings.scheme, model, input);
        const SchemeCombination* first = CombinationAt(settings.scheme, allowed.empty() ? 0 : allowed.front());
        settings.SetKt3(first->Kt3());
        settings.SetFrt(first->Frt());
    } else if (settings.scheme == 0) {
        settings.SetKt3(kNoSchemeKt3);
        settings.SetFrt(kNoSchemeFrt);
    }
    settings.word &= 0x7Fu;       // every control and use field from bit 7 up starts afresh
    settings.SetColdWaterUse(1);  // "Догов."
    for (int pipe = 0; pipe < kPipeCount; ++pipe)
        MakeDefaultPipe(db.pipes[input][pipe], pipe);
}

void RepairReportTime(TunesRecord& tunes)
{
    if (tunes.reportHour > kLastReportHour)
        tunes.reportHour = kLastReportHour;
    if (tunes.reportDay > kLastReportDay)
        tunes.reportDay = kDefaultReportDay;
}

void RepairDbStartDates(TunesRecord& tunes)
{
    static constexpr std::uint8_t kDefaultMonth[kDbCount] = {10, 3};
    // The start is a day of every year: 29 February is past the month.
    constexpr std::uint8_t kNonLeapYear = 1;
    for (int k = 0; k < kDbCount; ++k) {
        DbStartDate& start = tunes.dbStart[k];
        if (start.month == 0 || start.month > 12)
            start.month = kDefaultMonth[k];
        if (start.day == 0 || start.day > MonthLength(start.month, kNonLeapYear))
            start.day = 15;
    }
}
