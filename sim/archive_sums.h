#pragma once
// How the simulated meter makes its longer records out of shorter ones: a day out of its hours, a
// month out of its days, the totals out of every hour since manufacture. Sums are taken over the
// stored floats of the shorter records (in double), so a report that adds the shorter records
// agrees with the longer one to the float's last digits.
//
// Volumes, masses, heats, ДП, operating and stop minutes and the minute counters add up; flag bytes,
// flag words and event bits are the OR of the parts. Temperatures, pressures and dt are averaged
// over operating time: each part weighs with its input's ВНР minutes, so the hours the meter stood
// do not count and a period without operation holds 0.

#include "archives/archive_records.h"

#include <cstdint>

class PeriodSum {
public:
    void Add(const ArchiveRecord& part);
    ArchiveRecord Result(TChronoArch date) const;

private:
    struct Pipe {
        double tWeighted = 0, PWeighted = 0, V = 0, M = 0;
    };
    struct Input {
        double minutes = 0;  // the weight: ВНР minutes
        double tnvWeighted = 0, txWeighted = 0, PxWeighted = 0, dtWeighted = 0;
        double dM = 0, Qtv = 0, Q12 = 0, Qg = 0;
        std::uint32_t VNR = 0, VOS = 0;
    };
    Pipe m_pipes[kArchivePipeCount];
    Input m_inputs[kArchiveInputCount];
    double m_dp = 0;
    std::uint32_t m_networkMinutes = 0, m_displayMinutes = 0, m_minutesOff = 0;
    ArchiveRecord m_last{};  // flags and events gathered, schemes and set of the latest part
};

// The meter's integrators. Operating, stop and НС times count whole hours (16-bit counters that
// wrap): ВНР and ВОС are the ВНР and ВОС minutes of the hours added, over 60; an НС time is the
// number of hours whose record carries that НС's flag on one of the input's pipes or on the input,
// and the no-power time the stop minutes of hours marked "Откл. ВП", over 60.
class RunningTotals {
public:
    void Add(const ArchiveRecord& hour);
    // The part of an hour still running: its flows and heats pro rata; times and counters wait for
    // the hour's end.
    void AddPart(const ArchiveRecord& hour, double fraction);
    // Schemes and the active set are the caller's.
    TotalsBody Body() const;

private:
    struct Input {
        double dM = 0, Qtv = 0, Q12 = 0, Qg = 0;
        std::uint64_t VNR = 0, VOS = 0, powerOff = 0;                               // minutes
        std::uint32_t volumeLow = 0, volumeHigh = 0, smallDt = 0, sensorFault = 0;  // hours
    };
    double m_V[kArchivePipeCount] = {}, m_M[kArchivePipeCount] = {};
    Input m_inputs[kArchiveInputCount];
    double m_dp = 0;
    std::uint32_t m_networkMinutes = 0, m_displayMinutes = 0, m_minutesOff = 0;
};

// The flag bits the sums and the generator agree on.
constexpr std::uint8_t kPipeFlagTFault = 1u << 2;  // t "!"
constexpr std::uint8_t kPipeFlagVLow = 1u << 5;
constexpr std::uint8_t kPipeFlagVHigh = 1u << 6;
constexpr std::uint16_t kInputFlagDtLow = 1u << 0;
constexpr std::uint16_t kEventPowerOff = 1u << 1;  // "Откл. ВП"
constexpr std::uint16_t kEventKeys = 1u << 8;      // "Наж.клавиш"
constexpr std::uint16_t kEventModbus = 1u << 9;    // "Modbus"
