#pragma once
// The simulated meter's measurements: every record is a pure function of the seed and its date, so
// tests can ask for the record the meter will answer for any date, and the archives agree with each
// other (an hour's volume is the difference of the running totals, a day's the sum of its hours).
//
// Each pipe's flow follows a daily and a weekly wave, its volume since manufacture being the integral
// of that flow in closed form; temperatures follow the outdoor air (a yearly and a daily wave) by a
// heating curve. Input 1 is an open system (supply, return, hot water), input 2 a closed one. The
// meter's power fails for a few minutes every 173 hours; those hours carry the outage in their
// operating times, event bits and totals.

#include "sim_clock.h"

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
    // The totals-archive record dated `slot`: totals since manufacture.
    TotalsRecord Totals(TChronoArch slot) const;
    CurrentValues Current(MeterSeconds now, int activeSet) const;
    CurrentTotalsRecord CurrentTotals(MeterSeconds now, int activeSet) const;

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
    void FillPeriod(ArchiveRecord& record, double from, double to) const;
    TotalsBody TotalsAt(double hours, int activeSet) const;
    double Volume(int pipe, double hours) const;  // since manufacture
    double Flow(int pipe, double hours) const;
    double Temperature(int pipe, double hours) const;
    double Pressure(int pipe, double hours) const;
    double Outdoor(double hours) const;
    double ColdWater(double hours) const;
    int OutageMinutes(std::int64_t hour) const;  // how long the outage ending hour `hour` was

    std::uint32_t m_seed;
    std::array<Pipe, kArchivePipeCount> m_pipes;
    double m_outdoorPhase = 0;
    double m_extraInputPower = 0;  // ДП, units per hour
    std::int64_t m_outagePhase = 0;
};
