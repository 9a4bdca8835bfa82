#include "archive_generator.h"

#include "archive_sums.h"
#include "demo_configuration.h"
#include "meter_troubles.h"
#include "seeded_hash.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kDay = kTwoPi / 24;     // radians per hour of the daily wave
constexpr double kWeek = kTwoPi / 168;   // ... of the weekly wave
constexpr double kYearHours = 8766;      // 365.25 days
constexpr double kMidJanuary = 14 * 24;  // the coldest time, hours into the year
constexpr double kMeanColdWater = 9;

// How far an НС hour's measurement lies beyond its limit.
constexpr double kBelowMinimum = 0.4;  // of the hourly minimum
constexpr double kAboveMaximum = 1.2;  // of the hourly maximum
constexpr double kSmallDt = 1.5;       // °C, below either "dt min" setting

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

std::int64_t HourOf(const TChronoArch& date)
{
    return SecondsOf(date) / kSecondsPerHour;
}

// The hour whose record is the meter's first.
const std::int64_t kFirstHour = HourOf(kManufactureDate) + 1;

}  // namespace

ArchiveGenerator::ArchiveGenerator(std::uint32_t seed)
    : m_seed(seed), m_ledger([this](std::int64_t hour) { return HourRecord(hour); }, kFirstHour)
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
}

double ArchiveGenerator::Flow(int pipe, double hours) const
{
    const Pipe& p = m_pipes[pipe];
    return p.flow
        * (1 + p.daily.amplitude * std::sin(kDay * hours + p.daily.phase)
           + p.weekly.amplitude * std::sin(kWeek * hours + p.weekly.phase));
}

double ArchiveGenerator::WaveIntegral(int pipe, double from, double to) const
{
    const Pipe& p = m_pipes[pipe];
    // The integral of Flow over the mean flow.
    const auto integral = [&](double x) {
        return x - p.daily.amplitude / kDay * std::cos(kDay * x + p.daily.phase)
            - p.weekly.amplitude / kWeek * std::cos(kWeek * x + p.weekly.phase);
    };
    return integral(to) - integral(from);
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

double ArchiveGenerator::Temperature(int pipe, double hours, double outdoor) const
{
    const int input = pipe / kPipesPerInput;
    const double wave = std::sin(kDay * hours + m_pipes[pipe].temperatureWave);
    // The heating curve: hotter supply when the air is colder.
    const double supply = 70.0 - (outdoor - 5.0) - 5.0 * input;
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

ArchiveRecord ArchiveGenerator::HourRecord(std::int64_t hour) const
{
    ArchiveRecord record{};
    record.date = ChronoAt(hour * kSecondsPerHour);
    if (hour < kFirstHour)
        return record;
    for (int n = 0; n < kArchiveInputCount; ++n)
        record.schemes[n] = DemoInputScheme(n);
    const HourTroubles troubles = TroublesOf(m_seed, hour, record.date);
    if (troubles.keyPress)
        record.events |= kEventKeys;
    if (troubles.modbus)
        record.events |= kEventModbus;
    if (troubles.powerCut) {
        // Nothing measured, nothing counted: only the stop time and the mains counter run.
        for (ArchiveInputValues& input : record.inputs)
            input.VOS = 60;
        record.minutesPowerOff = 60;
        record.events |= kEventPowerOff;
        return record;
    }

    const double from = static_cast<double>(hour - 1), to = static_cast<double>(hour), mid = to - 0.5;
    double t[kArchivePipeCount], V[kArchivePipeCount], M[kArchivePipeCount];
    const double outdoor = Outdoor(mid);
    for (int k = 0; k < kArchivePipeCount; ++k)
        t[k] = Temperature(k, mid, outdoor);
    for (int s = 0; s < kArchivePipeCount; s += kPipesPerInput) {
        // The return follows the supply's waves.
        const double supplyWaves = WaveIntegral(s, from, to);
        V[s] = m_pipes[s].flow * supplyWaves;
        V[s + 1] = m_pipes[s + 1].flow * supplyWaves;
        V[s + 2] = m_pipes[s + 2].flow * WaveIntegral(s + 2, from, to);
    }
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const int s = kPipesPerInput * n, r = s + 1, w = s + 2;
        const HourlyVolumeLimits limits = DemoHourlyVolumeLimits(n, kHotWater);
        if (troubles.volumeLow[n]) {
            V[w] = kBelowMinimum * limits.minimum;
            record.pipeFlags[w] |= kPipeFlagVLow;
        }
        if (troubles.volumeHigh[n]) {
            V[w] = kAboveMaximum * limits.maximum;
            record.pipeFlags[w] |= kPipeFlagVHigh;
        }
        if (troubles.smallDt[n]) {
            t[r] = t[s] - kSmallDt;
            record.inputFlags[n] |= kInputFlagDtLow;
        }
        if (troubles.sensorFault[n])
            record.pipeFlags[r] |= kPipeFlagTFault;
    }
    for (int k = 0; k < kArchivePipeCount; ++k) {
        M[k] = Mass(V[k], t[k]);
        record.pipes[k] = {float(t[k]), float(Pressure(k, mid)), float(V[k]), float(M[k])};
    }
    const double tx = ColdWater(mid);
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const int s = kPipesPerInput * n, r = s + 1, w = s + 2;
        ArchiveInputValues& input = record.inputs[n];
        input.tnv = float(outdoor);
        input.tx = float(tx);
        input.Px = 0.25f;
        input.dt = float(t[s] - t[r]);
        input.dM = float(M[s] - M[r]);
        input.Qtv = float((M[s] * (t[s] - tx) - M[r] * (t[r] - tx)) / 1000.0);
        input.Q12 = float(M[s] * (t[s] - t[r]) / 1000.0);
        input.Qg = float(M[w] * (t[w] - tx) / 1000.0);
        input.VNR = 60;
    }
    record.dp = float(m_extraInputPower);
    if (troubles.dipMinutes > 0) {
        record.events |= kEventPowerOff;
        record.networkMinutesWithoutPower = static_cast<std::uint16_t>(troubles.dipMinutes / 3);
        record.displayMinutesWithoutPower = static_cast<std::uint16_t>(troubles.dipMinutes / 5);
        record.minutesPowerOff = static_cast<std::uint16_t>(troubles.dipMinutes);
    }
    return record;
}

ArchiveRecord ArchiveGenerator::SumOfHours(std::int64_t after, std::int64_t last, TChronoArch date) const
{
    PeriodSum sum;
    for (std::int64_t hour = after + 1; hour <= last; ++hour)
        sum.Add(HourRecord(hour));
    return sum.Result(date);
}

ArchiveRecord ArchiveGenerator::ValueRecord(ArchiveKind kind, TChronoArch slot, ReportTime reportTime) const
{
    const std::int64_t last = HourOf(slot);
    if (kind == kArchiveHourly) {
        ArchiveRecord record = HourRecord(last);
        record.date = slot;
        return record;
    }
    const std::int64_t after = HourOf(StepArchiveDate(kind, slot, -1, reportTime));
    if (kind != kArchiveMonthly)
        return SumOfHours(after, last, slot);
    // A month is the sum of its days: the same 24-hour spans the daily archive holds, oldest first.
    std::vector<std::int64_t> dayEnds;
    for (std::int64_t end = last; end > after; end -= 24)
        dayEnds.push_back(end);
    PeriodSum month;
    for (auto end = dayEnds.rbegin(); end != dayEnds.rend(); ++end)
        month.Add(SumOfHours(std::max(after, *end - 24), *end, ChronoAt(*end * kSecondsPerHour)));
    return month.Result(slot);
}

TotalsBody ArchiveGenerator::Finish(const RunningTotals& totals, int activeSet) const
{
    TotalsBody body = totals.Body();
    for (int n = 0; n < kArchiveInputCount; ++n)
        body.schemes[n] = DemoInputScheme(n);
    body.activeSet = static_cast<std::uint8_t>(activeSet);
    return body;
}

TotalsRecord ArchiveGenerator::Totals(TChronoArch slot) const
{
    return TotalsRecord{slot, Finish(m_ledger.After(HourOf(slot)), 0)};
}

CurrentTotalsRecord ArchiveGenerator::CurrentTotals(MeterSeconds now, int activeSet) const
{
    now = std::max<MeterSeconds>(now, 0);
    const std::int64_t hour = now / kSecondsPerHour;
    RunningTotals totals = m_ledger.After(hour);
    if (const MeterSeconds into = now - hour * kSecondsPerHour; into > 0)
        totals.AddPart(HourRecord(hour + 1), static_cast<double>(into) / kSecondsPerHour);
    return CurrentTotalsRecord{StampAt(now), Finish(totals, activeSet)};
}

CurrentValues ArchiveGenerator::Current(MeterSeconds now, int activeSet) const
{
    const double hours = static_cast<double>(now) / kSecondsPerHour;
    CurrentValues values{};
    values.time = StampAt(now);
    const double tx = ColdWater(hours), outdoor = Outdoor(hours);
    double t[kArchivePipeCount], Gm[kArchivePipeCount];
    for (int k = 0; k < kArchivePipeCount; ++k) {
        t[k] = Temperature(k, hours, outdoor);
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
        values.tnv[n] = float(outdoor);
    }
    values.dp = float(m_extraInputPower);
    values.activeSet = static_cast<std::uint8_t>(activeSet & 1);
    return values;
}
