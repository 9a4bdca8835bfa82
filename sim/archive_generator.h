#pragma once
// The simulated meter's measurements: every record is a pure function of the seed and its date, so
// tests can ask for the record the meter will answer for any date.
//
// The meter measures by the hour; everything longer is made of hours as the meter makes it
// (archive_sums.h): a daily record sums its hours, a monthly record its days, and the totals are the
// running sum of every hour since manufacture, so the archives agree with each other. Each pipe's
// flow follows a daily and a weekly wave, an hour's volume being the integral of that flow over the
// hour; temperatures follow the outdoor air (a yearly and a daily wave) by a heating curve. Input 1
// is an open system (supply, return, hot water), input 2 a closed one (make-up water on pipe 3).
// The hours' troubles (a day's power cut each month, mains dips, НС hours) are meter_troubles.h's.

#include "sim_clock.h"
#include "totals_ledger.h"

#include "archives/archive_records.h"
#include "archives/current_values.h"
#include "meter/archive_descriptors.h"
#include "meter/archive_step.h"

#include <array>
#include <cstdint>

// When the simulated meter left the factory: its totals count from here.
constexpr TChronoArch kManufactureDate{15, 1, 20, 10};

class ArchiveGenerator {
public:
    explicit ArchiveGenerator(std::uint32_t seed);

    // The hourly, daily or monthly record dated `slot`, covering the time since the kind's previous
    // slot. All 218 bytes are filled; a meter below firmware level 515 sends only the first 206/208.
    ArchiveRecord ValueRecord(ArchiveKind kind, TChronoArch slot, ReportTime reportTime) const;
    // The hourly record of the hour ending at `hour` (hours since 01.01.2000 00:00); all zeros but
    // the date before manufacture.
    ArchiveRecord HourRecord(std::int64_t hour) const;
    // The totals-archive record dated `slot`: totals since manufacture.
    TotalsRecord Totals(TChronoArch slot) const;
    CurrentValues Current(MeterSeconds now, int activeSet) const;
    // The totals archive's sum carried on to `now`: the running hour pro rata.
    CurrentTotalsRecord CurrentTotals(MeterSeconds now, int activeSet) const;
    // Adds up the hours since manufacture to `until` now, so that no totals request before then
    // waits for it (some tens of milliseconds, close to a short time-out).
    void PrepareTotals(MeterSeconds until) const { m_ledger.After(until / kSecondsPerHour); }

    struct Wave {
        double amplitude = 0;
        double phase = 0;
    };
    struct Pipe {
        double flow = 0;  // mean volume flow, m³/h
        Wave daily, weekly;
        double temperatureWave = 0;
        double pressure = 0;
    };

private:
    ArchiveRecord SumOfHours(std::int64_t after, std::int64_t last, TChronoArch date) const;
    TotalsBody Finish(const RunningTotals& totals, int activeSet) const;
    double WaveIntegral(int pipe, double from, double to) const;
    double Flow(int pipe, double hours) const;
    double Temperature(int pipe, double hours, double outdoor) const;
    double Pressure(int pipe, double hours) const;
    double Outdoor(double hours) const;
    double ColdWater(double hours) const;

    std::uint32_t m_seed;
    std::array<Pipe, kArchivePipeCount> m_pipes;
    double m_outdoorPhase = 0;
    double m_extraInputPower = 0;  // ДП, units per hour
    TotalsLedger m_ledger;
};
