#include "archive_generator.h"

#include "demo_configuration.h"
#include "seeded_hash.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kDay = kTwoPi / 24;     // radians per hour of the daily wave
constexpr double kWeek = kTwoPi / 168;   // ... of the weekly wave
constexpr double kYearHours = 8766;      // 365.25 days
constexpr double kMidJanuary = 14 * 24;  // the coldest time, hours into the year
constexpr double kMeanColdWater = 9;

// Periods (hours) of the meter's recurring troubles, and of the routine events.
constexpr std::int64_t kOutagePeriod = 173;
constexpr std::int64_t kLowHotWaterPeriod = 97;  // hot water below its hourly minimum
constexpr std::int64_t kHighSupplyPeriod = 389;  // supply above its hourly maximum
constexpr std::int64_t kSmallDtPeriod = 131;
constexpr std::int64_t kSensorFaultPeriod = 601;
constexpr std::int64_t kKeyPressPeriod = 53;
constexpr std::int64_t kModbusPeriod = 7;

constexpr std::uint16_t kEventPowerOff = 1u << 1;  // "Откл. ВП"
constexpr std::uint16_t kEventKeys = 1u << 8;      // "Наж.клавиш"
constexpr std::uint16_t kEventModbus = 1u << 9;    // "Modbus"
constexpr std::uint8_t kPipeFlagVLow = 1u << 5;
constexpr std::uint8_t kPipeFlagVHigh = 1u << 6;
constexpr std::uint16_t kInputFlagDtLow = 1u << 0;

enum Role { kSupply = 0, kReturn = 1, kHotWater = 2 };

Role RoleOf(int pipe)
{
    return static_cast<Role>(pipe % kPipesPerInput);
}

// kg/m³, close enough for 4..150 °C; masses in tonnes.
double Density(double t)
{
    return 1003.0 - 0.42 * t;
}
double Mass(double volume, double t)
{
    return volume * Density(t) / 1000.0;
}

double Hours(const TChronoArch& date)
{
    return static_cast<double>(SecondsOf(date)) / kSecondsPerHour;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The first whole hour after `after` whose sum with phase is divisible by period.
std::int64_t NextEvery(std::int64_t after, std::int64_t period, std::int64_t phase)
{
    return (FloorDiv(after + phase, period) + 1) * period - phase;
}

// How many whole hours h in (from, to] have h + phase divisible by period.
std::int64_t CountEvery(std::int64_t from, std::int64_t to, std::int64_t period, std::int64_t phase)
{
    return to <= from ? 0 : FloorDiv(to + phase, period) - FloorDiv(from + phase, period);
}

// Mean temperatures of the roles, for the totals.
double MeanTemperature(int pipe)
{
    const double supply = 70.0 - 5.0 * (pipe / kPipesPerInput);
    switch (RoleOf(pipe)) {
        case kSupply:
            return supply;
        case kReturn:
            return 0.45 * supply + 18.0;
        default:
            return 57.0;
    }
}

}  // namespace

ArchiveGenerator::ArchiveGenerator(std::uint32_t seed) : m_seed(seed)
{
    for (int input = 0; input < kArchiveInputCount; ++input) {
        const double supply = input == 0 ? SeededRange(3.0, 8.0, seed, 1) : SeededRange(1.0, 3.0, seed, 2);
        const Wave daily{SeededRange(0.1, 0.3, seed, 3, input), SeededRange(0, kTwoPi, seed, 4, input)};
        const Wave weekly{SeededRange(0.05, 0.15, seed, 5, input), SeededRange(0, kTwoPi, seed, 6, input)};
        for (int role = 0; role < kPipesPerInput; ++role) {
            const int index = kPipesPerInput * input + role;
            Pipe& pipe = m_pipes[index];
            if (role == kHotWater) {
                pipe.flow = SeededRange(0.2, 0.6, seed, 7, input);
                pipe.daily = {SeededRange(0.3, 0.5, seed, 8, input), SeededRange(0, kTwoPi, seed, 9, input)};
                pipe.weekly = {0.05, SeededRange(0, kTwoPi, seed, 10, input)};
            } else {
                pipe.flow = role == kSupply ? supply : 0.97 * supply;
                pipe.daily = daily;
                pipe.weekly = weekly;
            }
            pipe.temperatureWave = SeededRange(0, kTwoPi, seed, 11, index);
            static constexpr double kPressures[kPipesPerInput] = {0.60, 0.35, 0.45};
            pipe.pressure = kPressures[role] + SeededRange(-0.03, 0.03, seed, 12, index);
        }
    }
    m_outdoorPhase = SeededRange(-0.2, 0.2, seed, 13);
    m_extraInputPower = SeededRange(1.5, 4.0, seed, 14);
    m_outagePhase = static_cast<std::int64_t>(SeededHash(seed, 15) % kOutagePeriod);
}

double ArchiveGenerator::Flow(int pipe, double hours) const
{
    const Pipe& p = m_pipes[pipe];
    return p.flow
        * (1 + p.daily.amplitude * std::sin(kDay * hours + p.daily.phase)
           + p.weekly.amplitude * std::sin(kWeek * hours + p.weekly.phase));
}

double ArchiveGenerator::Volume(int pipe, double hours) const
{
    const Pipe& p = m_pipes[pipe];
    // The integral of Flow.
    const auto integral = [&](double x) {
        return p.flow
            * (x - p.daily.amplitude / kDay * std::cos(kDay * x + p.daily.phase)
               - p.weekly.amplitude / kWeek * std::cos(kWeek * x + p.weekly.phase));
    };
    const double since = Hours(kManufactureDate);
    return hours <= since ? 0.0 : integral(hours) - integral(since);
}

double ArchiveGenerator::Outdoor(double hours) const
{
    return 5.0 - 15.0 * std::cos(kTwoPi * (hours - kMidJanuary) / kYearHours + m_outdoorPhase)
        + 3.0 * std::sin(kDay * hours - 2.0);
}

double ArchiveGenerator::ColdWater(double hours) const
{
    // Lags the air by about two months.
    return kMeanColdWater - 4.0 * std::cos(kTwoPi * (hours - kMidJanuary - 1500) / kYearHours);
}

double ArchiveGenerator::Temperature(int pipe, double hours) const
{
    const int input = pipe / kPipesPerInput;
    const double wave = std::sin(kDay * hours + m_pipes[pipe].temperatureWave);
    // The heating curve: hotter supply when the air is colder.
    const double supply = 70.0 - (Outdoor(hours) - 5.0) - 5.0 * input;
    switch (RoleOf(pipe)) {
        case kSupply:
            return supply + 1.5 * wave;
        case kReturn:
            return 0.45 * supply + 18.0 + wave;
        default:
            return 57.0 + 2.0 * wave;
    }
}

double ArchiveGenerator::Pressure(int pipe, double hours) const
{
    return m_pipes[pipe].pressure + 0.02 * std::sin(kDay * hours + m_pipes[pipe].temperatureWave + 1.0);
}

int ArchiveGenerator::OutageMinutes(std::int64_t hour) const
{
    return 3 + static_cast<int>(SeededHash(m_seed, 16, static_cast<std::uint64_t>(hour)) % 45);
}

void ArchiveGenerator::FillPeriod(ArchiveRecord& record, double from, double to) const
{
    const double mid = (from + to) / 2;
    const auto first = static_cast<std::int64_t>(std::llround(from));
    const auto last = static_cast<std::int64_t>(std::llround(to));
    double t[kArchivePipeCount], M[kArchivePipeCount];
    for (int k = 0; k < kArchivePipeCount; ++k) {
        t[k] = Temperature(k, mid);
        const double volume = Volume(k, to) - Volume(k, from);
        M[k] = Mass(volume, t[k]);
        record.pipes[k] = {float(t[k]), float(Pressure(k, mid)), float(volume), float(M[k])};
    }
    int outage = 0;
    for (std::int64_t h = NextEvery(first, kOutagePeriod, m_outagePhase); h <= last; h += kOutagePeriod)
        outage += OutageMinutes(h);
    const int periodMinutes = static_cast<int>((last - first) * 60);
    const double tx = ColdWater(mid);
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const int s = kPipesPerInput * n, r = s + 1, w = s + 2;
        ArchiveInputValues& input = record.inputs[n];
        input.tnv = float(Outdoor(mid));
        input.tx = float(tx);
        input.Px = 0.25f;
        input.dt = float(t[s] - t[r]);
        input.dM = float(M[s] - M[r]);
        input.Qtv = float((M[s] * (t[s] - tx) - M[r] * (t[r] - tx)) / 1000.0);
        input.Q12 = float(M[s] * (t[s] - t[r]) / 1000.0);
        input.Qg = float(M[w] * (t[w] - tx) / 1000.0);
        input.VNR = static_cast<std::uint16_t>(periodMinutes - outage);
        input.VOS = static_cast<std::uint16_t>(outage);
        if (CountEvery(first, last, kLowHotWaterPeriod, n) > 0)
            record.pipeFlags[w] |= kPipeFlagVLow;
        if (CountEvery(first, last, kHighSupplyPeriod, 7 * n) > 0)
            record.pipeFlags[s] |= kPipeFlagVHigh;
        if (CountEvery(first, last, kSmallDtPeriod, 3 * n) > 0)
            record.inputFlags[n] |= kInputFlagDtLow;
        record.schemes[n] = DemoInputScheme(n);
    }
    record.dp = float(m_extraInputPower * (to - from));
    if (outage > 0)
        record.events |= kEventPowerOff;
    if (CountEvery(first, last, kKeyPressPeriod, 0) > 0)
        record.events |= kEventKeys;
    if (CountEvery(first, last, kModbusPeriod, 0) > 0)
        record.events |= kEventModbus;
    record.networkMinutesWithoutPower = static_cast<std::uint16_t>(outage / 3);
    record.displayMinutesWithoutPower = static_cast<std::uint16_t>(outage / 5);
    record.minutesPowerOff = static_cast<std::uint16_t>(outage);
    record.activeSet = 0;
}

ArchiveRecord ArchiveGenerator::ValueRecord(ArchiveKind kind, TChronoArch slot, ReportTime reportTime) const
{
    ArchiveRecord record{};
    record.date = slot;
    FillPeriod(record, Hours(StepArchiveDate(kind, slot, -1, reportTime)), Hours(slot));
    return record;
}

TotalsBody ArchiveGenerator::TotalsAt(double hours, int activeSet) const
{
    TotalsBody body{};
    double M[kArchivePipeCount];
    for (int k = 0; k < kArchivePipeCount; ++k) {
        const double volume = Volume(k, hours);
        M[k] = Mass(volume, MeanTemperature(k));
        body.pipes[k] = {volume, M[k]};
    }
    const auto since = static_cast<std::int64_t>(std::llround(Hours(kManufactureDate)));
    const auto now = std::max(since, static_cast<std::int64_t>(std::floor(hours)));
    const std::int64_t outages = CountEvery(since, now, kOutagePeriod, m_outagePhase);
    std::uint32_t outageMinutes = 0;
    for (std::int64_t h = NextEvery(since, kOutagePeriod, m_outagePhase); h <= now; h += kOutagePeriod)
        outageMinutes += static_cast<std::uint32_t>(OutageMinutes(h));
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const int s = kPipesPerInput * n, r = s + 1, w = s + 2;
        const double ts = MeanTemperature(s), tr = MeanTemperature(r), tw = MeanTemperature(w);
        TotalsInputValues& input = body.inputs[n];
        input.dM = M[s] - M[r];
        input.Qtv = (M[s] * (ts - kMeanColdWater) - M[r] * (tr - kMeanColdWater)) / 1000.0;
        input.Q12 = M[s] * (ts - tr) / 1000.0;
        input.Qg = M[w] * (tw - kMeanColdWater) / 1000.0;
        // Hour counters wrap like the meter's 16-bit ones.
        input.VNR = static_cast<std::uint16_t>(now - since - outages);
        input.VOS = static_cast<std::uint16_t>(outages);
        input.vMinTime = static_cast<std::uint16_t>(CountEvery(since, now, kLowHotWaterPeriod, n));
        input.vMaxTime = static_cast<std::uint16_t>(CountEvery(since, now, kHighSupplyPeriod, 7 * n));
        input.dtTime = static_cast<std::uint16_t>(CountEvery(since, now, kSmallDtPeriod, 3 * n));
        input.powerOffTime = static_cast<std::uint16_t>(outages);
        input.tFaultTime = static_cast<std::uint16_t>(CountEvery(since, now, kSensorFaultPeriod, n));
        body.schemes[n] = DemoInputScheme(n);
    }
    body.dp = m_extraInputPower * std::max(0.0, hours - Hours(kManufactureDate));
    body.networkMinutesWithoutPower = outageMinutes / 3;
    body.displayMinutesWithoutPower = outageMinutes / 5;
    body.minutesPowerOff = outageMinutes;
    body.activeSet = static_cast<std::uint8_t>(activeSet);
    return body;
}

TotalsRecord ArchiveGenerator::Totals(TChronoArch slot) const
{
    return TotalsRecord{slot, TotalsAt(Hours(slot), 0)};
}

CurrentTotalsRecord ArchiveGenerator::CurrentTotals(MeterSeconds now, int activeSet) const
{
    return CurrentTotalsRecord{StampAt(now), TotalsAt(static_cast<double>(now) / kSecondsPerHour, activeSet)};
}

CurrentValues ArchiveGenerator::Current(MeterSeconds now, int activeSet) const
{
    const double hours = static_cast<double>(now) / kSecondsPerHour;
    CurrentValues values{};
    values.time = StampAt(now);
    const double tx = ColdWater(hours);
    double t[kArchivePipeCount], Gm[kArchivePipeCount];
    for (int k = 0; k < kArchivePipeCount; ++k) {
        t[k] = Temperature(k, hours);
        const double Go = Flow(k, hours);
        Gm[k] = Mass(Go, t[k]);
        values.t[k] = float(t[k]);
        values.P[k] = float(Pressure(k, hours));
        values.Go[k] = float(Go);
        values.Gm[k] = float(Gm[k]);
        values.pipePhi[k] = float(Gm[k] * (t[k] - tx) / 1000.0);
        values.h[k] = float(t[k] * 1.0005);  // kcal/kg, water near 1 kcal/(kg·°C)
    }
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const int s = kPipesPerInput * n, r = s + 1;
        values.inputPhi[n] = float((Gm[s] * (t[s] - tx) - Gm[r] * (t[r] - tx)) / 1000.0);
        values.hx[n] = float(tx);
        values.tx[n] = float(tx);
        values.Px[n] = 0.25f;
        values.dt[n] = float(t[s] - t[r]);
        values.tnv[n] = float(Outdoor(hours));
    }
    values.dp = float(m_extraInputPower);
    values.activeSet = static_cast<std::uint8_t>(activeSet & 1);
    return values;
}
