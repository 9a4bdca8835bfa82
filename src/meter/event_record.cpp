#include "meter/event_record.h"

#include "base/value_text.h"

#include <cstring>
#include <iterator>

namespace {

constexpr ValueText kValueKindNames[] = {
    {kEventValueNone, "нет"},
    {kEventValueU8, "unsigned char"},
    {kEventValueU16, "unsigned short"},
    {kEventValueU32, "unsigned long"},
    {kEventValueFloat, "float"},
    {kEventValueChrono, "TChronoArch"},
    {kEventValueChrono2, "TChronoArch"},
    {kEventValueTime, "TChrono"},
};

}  // namespace

QString EventValueKindName(EventValueKind kind)
{
    return TextOf(kValueKindNames, unsigned(kind), QString());
}

std::uint32_t EventValueInteger(EventValueKind kind, const std::uint8_t (&value)[4])
{
    switch (kind) {
        case kEventValueU8:
            return value[0];
        case kEventValueU16:
            return static_cast<std::uint32_t>(value[0] | (value[1] << 8));
        case kEventValueU32:
            return static_cast<std::uint32_t>(value[0]) | (static_cast<std::uint32_t>(value[1]) << 8)
                | (static_cast<std::uint32_t>(value[2]) << 16) | (static_cast<std::uint32_t>(value[3]) << 24);
        default:
            return 0;
    }
}

float EventValueFloat(const std::uint8_t (&value)[4])
{
    float result;
    std::memcpy(&result, value, sizeof result);
    return result;
}
