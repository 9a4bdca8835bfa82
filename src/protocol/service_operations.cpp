// Service work: service commands (the clock among them), the password block and parameter changes,
// and the maker's and the service centre's data.

#include "protocol/device_operations.h"

#include <QDateTime>

#include <cstring>

namespace {

using enum MeterArea;

// Calibration lock, archive erase and the calibration steps take the meter a while to answer.
constexpr std::uint16_t kFirstSlowCommand = 65435;
constexpr std::uint16_t kLastSlowCommand = 65445;
constexpr int kSlowCommandAttempts = 5;
constexpr int kSlowCommandTimeoutSec = 10;

}  // namespace

bool DeviceOperations::WriteServiceCmd(std::uint32_t code, std::uint32_t value)
{
    BeginOperation(QString::fromUtf8("Запись служебной команды"));
    const ServiceCommand command{code, value};
    Limits limits = m_areas.ChannelLimits();
    if (command.Code() >= kFirstSlowCommand && command.Code() <= kLastSlowCommand)
        limits = Limits{kSlowCommandAttempts, kSlowCommandTimeoutSec};
    PutServiceCommand(m_data.image, command);
    return m_areas.WriteArea(m_data.image, kServiceCommand, AreaCapacity(kServiceCommand), "WriteServiceCmd", limits);
}

bool DeviceOperations::SetDeviceClock()
{
    const ServiceCommand command = ClockServiceCommand(FirmwareLevel(), QDateTime::currentDateTime());
    return WriteServiceCmd(command.codeWord, command.value);
}

bool DeviceOperations::WritePasswordChangeBd(const PasswordBytes& password)
{
    BeginOperation(QString::fromUtf8("Запись пароля"));
    std::uint8_t* block = m_data.At(kArchiveRequest);
    std::memset(block, 0, std::size_t(AreaCapacity(kArchiveRequest)));
    std::memcpy(block, password.data(), password.size());
    return m_areas.WriteArea(m_data.image, kArchiveRequest, AreaCapacity(kArchiveRequest), "WritePasswordChangeBd",
                             m_areas.ChannelLimits());
}

bool DeviceOperations::WriteChangeParCmd(std::uint32_t code, std::uint32_t value, std::uint16_t extra)
{
    BeginOperation(QString::fromUtf8("Изменение параметра"));
    std::uint8_t* block = m_data.At(kParameterChange);
    std::memcpy(block, &code, sizeof code);
    std::memcpy(block + 4, &value, sizeof value);
    std::memcpy(block + 8, &extra, sizeof extra);
    return m_areas.WriteArea(m_data.image, kParameterChange, AreaCapacity(kParameterChange), "WriteChangeParCmd",
                             m_areas.ChannelLimits());
}

bool DeviceOperations::ReadManufactureData()
{
    if (!ReadDataArea(kMakerData, "Чтение данных производителя", "ReadManufactureData"))
        return false;
    // Older meters keep no model here: it is the identity's.
    if (FirmwareLevel() < kLevelSeparateControls)
        m_data.At(kMakerData)[offsetof(MakerData, modelIndex)] = m_data.configuration.identity.modelIndex;
    m_data.makerData = MakerData{};
    std::memcpy(&m_data.makerData, m_data.At(kMakerData), std::size_t(AreaCapacity(kMakerData)));
    return true;
}

bool DeviceOperations::WriteManufactureData()
{
    if (!WriteDataArea(kMakerData, "Запись данных производителя", "WriteManufactureData", &m_data.makerDataToWrite))
        return false;
    m_data.makerData = m_data.makerDataToWrite;
    return true;
}

bool DeviceOperations::ReadServicecenterData()
{
    if (!ReadDataArea(kServiceCentreData, "Чтение данных сервис-центра", "ReadServicecenterData"))
        return false;
    std::memcpy(&m_data.serviceCentreData, m_data.At(kServiceCentreData), sizeof(ServiceCentreData));
    return true;
}

bool DeviceOperations::WriteServicecenterData()
{
    if (!WriteDataArea(kServiceCentreData, "Запись данных сервис-центра", "WriteServicecenterData",
                       &m_data.serviceCentreDataToWrite))
        return false;
    m_data.serviceCentreData = m_data.serviceCentreDataToWrite;
    return true;
}

bool DeviceOperations::ReadDataArea(MeterArea area, const char* title, const char* operation)
{
    BeginOperation(QString::fromUtf8(title));
    std::memset(m_data.At(area), 0, std::size_t(AreaCapacity(area)));
    return m_areas.ReadArea(area, AreaSize(area, FirmwareLevel()), operation, m_areas.ChannelLimits());
}

bool DeviceOperations::WriteDataArea(MeterArea area, const char* title, const char* operation, const void* values)
{
    BeginOperation(QString::fromUtf8(title));
    std::memcpy(m_data.At(area), values, std::size_t(AreaCapacity(area)));
    return m_areas.WriteArea(m_data.image, area, AreaSize(area, FirmwareLevel()), operation, m_areas.ChannelLimits());
}
