#include "service_commands.h"

#include "meter_areas.h"

#include <cstring>

namespace {
constexpr int kArea = MeterRegister::kServiceCommand;
constexpr int kBytes = MeterRegister::kServiceCommandBytes;
}  // namespace

int ServiceCommandArea::CheckWrite(const MeterImage&, int start, int count, const std::uint8_t*)
{
    return CutsThrough(start, count, kArea, kBytes) ? SlaveException::kIllegalValue : 0;
}

int ServiceCommandArea::AfterWrite(MeterImage& image, int start, int count)
{
    if (!Overlaps(start, count, kArea, kBytes))
        return 0;
    ServiceCommandBlock command;
    command.code = image.GetU16(ByteOffset(kArea));
    std::memcpy(command.parameters.data(), image.At(kArea) + 2, command.parameters.size());
    for (ServiceCommandHandler* handler : m_handlers) {
        const int result = handler->Execute(command, image);
        if (result != ServiceCommandHandler::kNotMine)
            return result;
    }
    return SlaveException::kIllegalValue;
}
