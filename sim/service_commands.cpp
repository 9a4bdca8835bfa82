#include "service_commands.h"

#include "meter_areas.h"

#include <cstring>

int ServiceCommandArea::CheckWrite(const MeterImage&, int start, int count, const std::uint8_t*)
{
    return CutsThrough(start, count, MeterArea::kServiceCommand) ? SlaveException::kIllegalValue : 0;
}

int ServiceCommandArea::AfterWrite(MeterImage& image, int start, int count)
{
    if (!Touches(start, count, MeterArea::kServiceCommand))
        return 0;
    // The code word (code and parameter bytes 0-1), then the value (parameter bytes 2-5).
    ServiceCommand command;
    const std::uint8_t* block = AreaIn(image, MeterArea::kServiceCommand);
    std::memcpy(&command.codeWord, block, sizeof command.codeWord);
    std::memcpy(&command.value, block + sizeof command.codeWord, sizeof command.value);
    for (ServiceCommandHandler* handler : m_handlers) {
        const int result = handler->Execute(command, image);
        if (result != ServiceCommandHandler::kNotMine)
            return result;
    }
    return SlaveException::kIllegalValue;
}
