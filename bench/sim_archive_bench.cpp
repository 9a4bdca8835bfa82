// The simulated meter's own time for the archive requests an export makes: one 0x48 transfer that
// writes the request block and reads an hourly or totals record, the three descriptor areas, and the
// current values. The export is bounded by the line, so each must stay in microseconds. A daily
// record is made of its 24 hours; a meter's first totals record adds up its life since manufacture.

#include "base/checksums.h"
#include "meter/archive_descriptors.h"
#include "meter/archive_step.h"
#include "sim/archive_generator.h"
#include "sim/meter_areas.h"
#include "sim/meter_simulator.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using Unit = std::vector<std::uint8_t>;

void Put16(Unit& unit, int value)
{
    unit.push_back(static_cast<std::uint8_t>(value >> 8));
    unit.push_back(static_cast<std::uint8_t>(value));
}

// 0x48: write the 12-byte request at 99, read `readBytes` at `readRegister`.
Unit RecordRequest(const ArchiveRequest& request, int readRegister, int readBytes)
{
    Unit unit = {1, 0x48};
    Put16(unit, readRegister);
    Put16(unit, (readBytes + 1) / 2);
    Put16(unit, AreaRegister(MeterArea::kArchiveRequest));
    Put16(unit, 6);
    Put16(unit, 12);
    Put16(unit, 1);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&request);
    for (int i = 0; i < 12; i += 2) {
        unit.push_back(bytes[i + 1]);
        unit.push_back(bytes[i]);
    }
    return unit;
}

Unit Read3(int reg, int count)
{
    Unit unit = {1, 0x03};
    Put16(unit, reg);
    Put16(unit, count);
    return unit;
}

void Answer(benchmark::State& state, const std::vector<Unit>& units)
{
    SimOptions options;
    options.archives = ArchiveSpan{92, true, TChronoArch{10, 3, 24, 12}};
    MeterSimulator meter(options);
    std::uint8_t answer[300];
    std::size_t next = 0;
    for (auto _ : state) {
        const Unit& unit = units[next++ % units.size()];
        const int length = meter.Slave().Answer(unit.data(), static_cast<int>(unit.size()), answer, sizeof answer);
        if (length < 8 || (answer[1] & 0x80)) {
            state.SkipWithError("the meter refused");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
    state.SetItemsProcessed(state.iterations());
}

// Consecutive records of a kind, as the export walks them.
std::vector<Unit> Walk(ArchiveKind kind, TChronoArch date, int count, int area, int bytes)
{
    std::vector<Unit> units;
    for (int i = 0; i < count; ++i, date = StepArchiveDate(kind, date, 1, ReportTime{23, 25}))
        units.push_back(RecordRequest(ValueArchiveRequest(kind, StampOf(date)), area, bytes));
    return units;
}

void BM_SimHourlyRecord48(benchmark::State& state)
{
    Answer(state, Walk(kArchiveHourly, TChronoArch{5, 3, 24, 0}, 24, AreaRegister(MeterArea::kArchiveRecord), 218));
}

void BM_SimTotalsRecord48(benchmark::State& state)
{
    Answer(state, Walk(kArchiveTotals, TChronoArch{1, 3, 24, 23}, 9, AreaRegister(MeterArea::kTotalsRecord), 232));
}

void BM_SimDailyRecord48(benchmark::State& state)
{
    Answer(state, Walk(kArchiveDaily, TChronoArch{1, 3, 24, 23}, 9, AreaRegister(MeterArea::kArchiveRecord), 218));
}

// A fresh meter's first totals record at the end of November 2026: six years and ten months of hours.
void BM_SimFirstTotalsRecord(benchmark::State& state)
{
    for (auto _ : state) {
        const ArchiveGenerator generator(1);
        benchmark::DoNotOptimize(generator.Totals(TChronoArch{30, 11, 26, 23}));
    }
}

void BM_SimDescriptors(benchmark::State& state)
{
    Answer(state,
           {Read3(AreaRegister(MeterArea::kDescriptorDates), 27),
            Read3(AreaRegister(MeterArea::kDescriptorCapacities), 19),
            Read3(AreaRegister(MeterArea::kDescriptorEventLogs), 12)});
}

void BM_SimCurrentValues(benchmark::State& state)
{
    Answer(state, {Read3(AreaRegister(MeterArea::kCurrentValues), 111)});
}

}  // namespace

BENCHMARK(BM_SimHourlyRecord48);
BENCHMARK(BM_SimTotalsRecord48);
BENCHMARK(BM_SimDailyRecord48);
BENCHMARK(BM_SimFirstTotalsRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimDescriptors);
BENCHMARK(BM_SimCurrentValues);
BENCHMARK_MAIN();
