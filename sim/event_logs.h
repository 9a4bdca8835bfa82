#pragma once
// The meter's three event logs (DB changes, administrative events, diagnostics): rings of 16-byte
// entries. Each starts with entries generated from the seed over the archive's span; the meter adds
// its own as commands change it. A read returns 16 entries from the record number in the request
// block; places nobody has written read as erased flash (0xFF).

#include "modbus_slave.h"
#include "sim_clock.h"

#include "meter/archive_descriptors.h"
#include "meter/event_record.h"

#include <array>
#include <cstdint>
#include <vector>

// Quantity types (descriptor bits 0..8) as this meter numbers its events.
namespace MeterEvent {
// DB changes
constexpr int kConfigurationWritten = 1;  // u16: record checksum before and after
constexpr int kActiveSetChanged = 2;      // u8: set index before and after
constexpr int kContractTemperature = 10;  // float, context: pipe
constexpr int kContractPressure = 11;     // float, context: pipe
constexpr int kPulseWeight = 12;          // float, context: pipe
constexpr int kReportHour = 13;           // u8
constexpr int kScheme = 14;               // u8, context: input
constexpr int kParameterBase = 32;        // + parameter code: a parameter changed from the PC
// administrative
constexpr int kClockSet = 1;  // TChronoArch: clock before and after
constexpr int kArchiveErased = 2;
constexpr int kAccessButton = 3;
constexpr int kPowerOff = 4;
constexpr int kPowerOn = 5;         // TChrono: how long the power was off
constexpr int kClockCorrected = 6;  // u32: seconds added (two's complement)
constexpr int kCalibrationLocked = 7;
// diagnostics
constexpr int kTemperatureSensor = 1;  // u8 fault code, context: pipe
constexpr int kPressureSensor = 2;     // u16 raw reading, context: pipe
constexpr int kBatteryVoltage = 3;     // float, volts
constexpr int kFlowMeterPower = 4;     // u8, context: pipe
}  // namespace MeterEvent

class EventLogs : public AreaBehaviour {
public:
    static constexpr std::array<int, kEventLogCount> kCapacity = {512, 256, 256};

    // Fills the logs with entries spread over [from, to].
    EventLogs(std::uint32_t seed, MeterSeconds from, MeterSeconds to);

    void Append(EventLogKind log, const EventRecord& entry);
    // The entry at a ring position (erased places are all 0xFF).
    const EventRecord& At(EventLogKind log, int index) const { return m_logs[log].entries[index]; }
    CapacityEntry Capacity(EventLogKind log) const;

    int BeforeRead(MeterImage& image, int start, int count) override;

private:
    struct Log {
        std::vector<EventRecord> entries;
        int writeIndex = 0;
        bool wrapped = false;
    };
    void Generate(std::uint32_t seed, EventLogKind log, int count, MeterSeconds from, MeterSeconds to);

    std::array<Log, kEventLogCount> m_logs;
};

// An entry with its descriptor put together; `oldValue` and `newValue` are the raw 4-byte fields.
EventRecord MakeEvent(MeterSeconds time, int type, int context, EventValueKind kind, int parameterSet,
                      std::uint32_t oldValue = 0, std::uint32_t newValue = 0);
std::uint32_t FloatBits(float value);
std::uint32_t ChronoBits(const TChronoArch& date);
