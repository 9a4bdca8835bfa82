#include "meter_troubles.h"

#include "seeded_hash.h"

namespace {

// Periods (hours) of the recurring troubles and routine events; an input's phase shifts its hours.
constexpr std::int64_t kDipPeriod = 173;
constexpr std::int64_t kVolumeLowPeriod = 97;
constexpr std::int64_t kVolumeHighPeriod = 389;
constexpr std::int64_t kSmallDtPeriod = 131;
constexpr std::int64_t kSensorFaultPeriod = 601;
constexpr std::int64_t kKeyPressPeriod = 53;
constexpr std::int64_t kModbusPeriod = 7;

bool OnPeriod(std::int64_t hour, std::int64_t period, std::int64_t phase)
{
    return (hour + phase) % period == 0;
}

// The cut's records are those dated on its day, 00:00 to 23:00: the time from the eve's 23:00 on.
bool InPowerCut(std::uint32_t seed, const TChronoArch& date)
{
    return date.day == PowerCutDay(seed, date.year, date.month);
}

}  // namespace

int PowerCutDay(std::uint32_t seed, int year, int month)
{
    // Between the 3rd and the 22nd: clear of the month's ends and of the factory report day.
    return 3 + static_cast<int>(SeededHash(seed, 17, static_cast<std::uint64_t>(year * 12 + month)) % 20);
}

HourTroubles TroublesOf(std::uint32_t seed, std::int64_t hour, const TChronoArch& date)
{
    HourTroubles troubles;
    troubles.keyPress = OnPeriod(hour, kKeyPressPeriod, 0);
    troubles.modbus = OnPeriod(hour, kModbusPeriod, 0);
    if (InPowerCut(seed, date)) {
        troubles.powerCut = true;
        return troubles;
    }
    if (OnPeriod(hour, kDipPeriod, static_cast<std::int64_t>(SeededHash(seed, 15) % kDipPeriod)))
        troubles.dipMinutes = 3 + static_cast<int>(SeededHash(seed, 16, static_cast<std::uint64_t>(hour)) % 45);
    for (int n = 0; n < kArchiveInputCount; ++n) {
        troubles.volumeHigh[n] = OnPeriod(hour, kVolumeHighPeriod, 7 * n);
        troubles.volumeLow[n] = !troubles.volumeHigh[n] && OnPeriod(hour, kVolumeLowPeriod, n);
        troubles.smallDt[n] = OnPeriod(hour, kSmallDtPeriod, 3 * n);
        troubles.sensorFault[n] = OnPeriod(hour, kSensorFaultPeriod, n);
    }
    return troubles;
}
