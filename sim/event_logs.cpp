#include "event_logs.h"

#include "meter_areas.h"
#include "seeded_hash.h"

#include <algorithm>
#include <cstring>

namespace {

// How many entries each log starts with.
constexpr std::array<int, kEventLogCount> kGenerated = {24, 40, 64};

EventRecord ErasedEntry()
{
    EventRecord entry;
    std::memset(&entry, 0xFF, sizeof entry);
    return entry;
}

constexpr float kContractTemperatures[3] = {90.0f, 60.0f, 55.0f};

EventRecord DbChangeEvent(std::uint64_t h, MeterSeconds time)
{
    const int pipe = static_cast<int>(h % 6);
    const int set = static_cast<int>((h >> 40) & 1);
    switch ((h >> 8) % 5) {
        case 0: {
            const float before = kContractTemperatures[pipe % 3];
            const float after = before + static_cast<float>((h >> 16) % 11) - 5.0f;
            return MakeEvent(time, MeterEvent::kContractTemperature, pipe, kEventValueFloat, set, FloatBits(before),
                             FloatBits(after));
        }
        case 1:
            return MakeEvent(time, MeterEvent::kContractPressure, pipe, kEventValueFloat, set, FloatBits(0.6f),
                             FloatBits(0.5f + 0.05f * static_cast<float>((h >> 16) % 5)));
        case 2:
            return MakeEvent(time, MeterEvent::kPulseWeight, pipe, kEventValueFloat, set, FloatBits(1.0f),
                             FloatBits((h >> 16) % 2 ? 10.0f : 2.5f));
        case 3:
            return MakeEvent(time, MeterEvent::kReportHour, 0, kEventValueU8, set, 23,
                             static_cast<std::uint32_t>((h >> 16) % 24));
        default:
            return MakeEvent(time, MeterEvent::kScheme, pipe % 2, kEventValueU8, set,
                             static_cast<std::uint32_t>((h >> 16) % 15),
                             static_cast<std::uint32_t>(1 + (h >> 24) % 14));
    }
}

EventRecord AdministrativeEvent(std::uint64_t h, int index, MeterSeconds time)
{
    switch (index % 4) {
        case 0:
            return MakeEvent(time, MeterEvent::kPowerOff, 0, kEventValueNone, 0);
        case 1: {
            // Hours, minutes and seconds without power in the first three bytes.
            const std::uint32_t off = static_cast<std::uint32_t>((h >> 8) % 4)
                | static_cast<std::uint32_t>((h >> 16) % 60) << 8 | static_cast<std::uint32_t>((h >> 24) % 60) << 16;
            return MakeEvent(time, MeterEvent::kPowerOn, 0, kEventValueTime, 0, 0, off);
        }
        case 2:
            return MakeEvent(time, MeterEvent::kAccessButton, 0, kEventValueNone, 0);
        default:
            return MakeEvent(time, MeterEvent::kClockCorrected, 0, kEventValueU32, 0, 0,
                             static_cast<std::uint32_t>(static_cast<int>((h >> 8) % 61) - 30));
    }
}

EventRecord DiagnosticEvent(std::uint64_t h, MeterSeconds time)
{
    const int pipe = static_cast<int>(h % 6);
    switch ((h >> 8) % 4) {
        case 0:
            return MakeEvent(time, MeterEvent::kTemperatureSensor, pipe, kEventValueU8, 0, 0,
                             static_cast<std::uint32_t>(1 + (h >> 16) % 3));
        case 1:
            return MakeEvent(time, MeterEvent::kPressureSensor, pipe, kEventValueU16, 0, 2048,
                             static_cast<std::uint32_t>((h >> 16) % 4096));
        case 2:
            return MakeEvent(time, MeterEvent::kBatteryVoltage, 0, kEventValueFloat, 0, FloatBits(3.6f),
                             FloatBits(3.3f + 0.01f * static_cast<float>((h >> 16) % 20)));
        default:
            return MakeEvent(time, MeterEvent::kFlowMeterPower, pipe, kEventValueU8, 0, 1, 0);
    }
}

}  // namespace

EventRecord MakeEvent(MeterSeconds time, int type, int context, EventValueKind kind, int parameterSet,
                      std::uint32_t oldValue, std::uint32_t newValue)
{
    EventRecord entry{};
    entry.time = StampAt(time);
    entry.descriptor = static_cast<std::uint16_t>((type & 0x1FF) | (context & 7) << 9 | (kind & 7) << 12
                                                  | (parameterSet & 1) << 15);
    std::memcpy(entry.oldValue, &oldValue, sizeof oldValue);
    std::memcpy(entry.newValue, &newValue, sizeof newValue);
    return entry;
}

std::uint32_t FloatBits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::uint32_t ChronoBits(const TChronoArch& date)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &date, sizeof bits);
    return bits;
}

EventLogs::EventLogs(std::uint32_t seed, MeterSeconds from, MeterSeconds to)
{
    for (int log = 0; log < kEventLogCount; ++log) {
        m_logs[log].entries.assign(static_cast<std::size_t>(kCapacity[log]), ErasedEntry());
        Generate(seed, static_cast<EventLogKind>(log), kGenerated[log], from, to);
    }
}

void EventLogs::Generate(std::uint32_t seed, EventLogKind log, int count, MeterSeconds from, MeterSeconds to)
{
    if (to <= from)
        return;
    const MeterSeconds spacing = std::max<MeterSeconds>(1, (to - from) / count);
    for (int i = 0; i < count; ++i) {
        const std::uint64_t h = SeededHash(seed, 0xE7E27, static_cast<std::uint64_t>(log),
                                           static_cast<std::uint64_t>(i));
        const MeterSeconds time = from + spacing * i
            + static_cast<MeterSeconds>(h % static_cast<std::uint64_t>(spacing));
        switch (log) {
            case kEventLogDbChanges:
                Append(log, DbChangeEvent(h, time));
                break;
            case kEventLogAdministrative:
                Append(log, AdministrativeEvent(h, i, time));
                break;
            case kEventLogDiagnostics:
                Append(log, DiagnosticEvent(h, time));
                break;
        }
    }
}

void EventLogs::Append(EventLogKind log, const EventRecord& entry)
{
    Log& ring = m_logs[log];
    ring.entries[static_cast<std::size_t>(ring.writeIndex)] = entry;
    if (++ring.writeIndex == static_cast<int>(ring.entries.size())) {
        ring.writeIndex = 0;
        ring.wrapped = true;
    }
}

CapacityEntry EventLogs::Capacity(EventLogKind log) const
{
    const Log& ring = m_logs[log];
    return CapacityEntry{static_cast<std::uint16_t>(ring.entries.size()), static_cast<std::uint16_t>(ring.writeIndex),
                         static_cast<std::uint16_t>(kEventRecordSize), static_cast<std::uint8_t>(ring.wrapped ? 1 : 0),
                         0};
}

int EventLogs::BeforeRead(MeterImage& image, int start, int count)
{
    for (int log = 0; log < kEventLogCount; ++log) {
        const MeterArea area = EventLogReceiveArea(log);
        if (!Touches(start, count, area))
            continue;
        const auto request = RequestOf(image);
        const Log& ring = m_logs[log];
        const int first = request.recordNumber;
        if (first >= static_cast<int>(ring.entries.size()))
            return SlaveException::kIllegalValue;
        const int perRead = kAnswerSlotBytes / static_cast<int>(kEventRecordSize);
        for (int i = 0; i < perRead; ++i) {
            const int index = first + i;
            const EventRecord entry = index < static_cast<int>(ring.entries.size()) ? ring.entries[index]
                                                                                    : ErasedEntry();
            std::memcpy(AreaIn(image, area) + i * kEventRecordSize, &entry, kEventRecordSize);
        }
    }
    return 0;
}
