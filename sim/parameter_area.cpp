#include "parameter_area.h"

#include "configuration_area.h"
#include "event_logs.h"
#include "meter_areas.h"
#include "meter_state.h"
#include "sim_clock.h"

#include "config/tunes_record.h"

#include "base/checksums.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int kPasswordBytes = std::tuple_size_v<PasswordBytes>;
constexpr double kMaxCorrectionSeconds = 3600;
constexpr float kMaxColdWater = 99.9f;

// "С ПК" access of the parameter sets.
constexpr unsigned kPcWithPassword = 1;

}  // namespace

bool ParameterArea::PasswordMatches(const std::uint8_t* text) const
{
    int length = 0;
    while (length < kPasswordBytes && text[length] != 0)
        ++length;
    while (length > 0 && text[length - 1] == ' ')
        --length;
    return !m_password.isEmpty() && QByteArray(reinterpret_cast<const char*>(text), length) == m_password;
}

int ParameterArea::CheckWrite(const MeterImage&, int start, int count, const std::uint8_t*)
{
    return CutsThrough(start, count, MeterArea::kParameterChange) ? SlaveException::kIllegalValue : 0;
}

int ParameterArea::AfterWrite(MeterImage& image, int start, int count)
{
    if (!Touches(start, count, MeterArea::kParameterChange))
        return 0;
    if (!PasswordMatches(AreaIn(image, MeterArea::kArchiveRequest)))
        return SlaveException::kAccessDenied;
    // u16 parameter code, then the f32 value.
    const std::uint8_t* block = AreaIn(image, MeterArea::kParameterChange);
    float value = 0;
    std::memcpy(&value, block + 2, sizeof value);
    return ChangeParameter(image, GetLittleEndian16(block), value);
}

int ParameterArea::ChangeParameter(MeterImage& image, int code, float value)
{
    if (!std::isfinite(value))
        return SlaveException::kIllegalValue;
    const MeterSeconds now = m_clock.Now();
    if (code == kClockCorrection) {
        if (std::fabs(value) > kMaxCorrectionSeconds)
            return SlaveException::kIllegalValue;
        const auto seconds = static_cast<std::int32_t>(std::lround(value));
        m_clock.Shift(seconds);
        m_logs.Append(
            kEventLogAdministrative,
            MakeEvent(now, MeterEvent::kClockCorrected, 0, kEventValueU32, 0, 0, static_cast<std::uint32_t>(seconds)));
        return 0;
    }
    if (code != kColdWaterInput1 && code != kColdWaterInput2)
        return SlaveException::kIllegalValue;
    if (value < 0 || value > kMaxColdWater)
        return SlaveException::kIllegalValue;
    const int input = code - kColdWaterInput1;
    const int set = m_state.activeSet;
    float before = 0;
    m_configuration.EditTunes(image, [&](TunesRecord& tunes) {
        before = tunes.db[set].inputs[input].contractColdTemperature;
        tunes.db[set].inputs[input].contractColdTemperature = value;
    });
    m_logs.Append(kEventLogDbChanges,
                  MakeEvent(now, MeterEvent::kParameterBase + code, input, kEventValueFloat, set, FloatBits(before),
                            FloatBits(value)));
    return 0;
}

int ParameterArea::Execute(const ServiceCommand& command, MeterImage& image)
{
    if (command.Code() != kSelectSet1 && command.Code() != kSelectSet2)
        return kNotMine;
    const TunesRecord tunes = m_configuration.Tunes(image);
    // "Запрет" and "С Доступом" (the button on the meter) both keep the PC out.
    if (tunes.PcAccess() != kPcWithPassword || !PasswordMatches(command.Parameters().data()))
        return SlaveException::kAccessDenied;
    const int set = command.Code() == kSelectSet2 ? 1 : 0;
    if (set == 1 && !tunes.Db2Used())
        return SlaveException::kIllegalValue;
    if (set != m_state.activeSet) {
        m_logs.Append(kEventLogDbChanges,
                      MakeEvent(m_clock.Now(), MeterEvent::kActiveSetChanged, 0, kEventValueU8, set,
                                static_cast<std::uint32_t>(m_state.activeSet), static_cast<std::uint32_t>(set)));
        m_state.activeSet = set;
    }
    return 0;
}
