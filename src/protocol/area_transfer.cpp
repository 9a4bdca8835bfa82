#include "protocol/area_transfer.h"

#include "base/message_style.h"
#include "channel/channel_owner.h"
#include "channel/channel_settings.h"
#include "protocol/modbus_master.h"

#include <cstring>

AreaTransfer::AreaTransfer(CModbusMaster& master, DriverData& data, const ChannelSettings& channel, ChannelOwner& owner)
    : m_master(master), m_data(data), m_channel(channel), m_owner(owner)
{}

AreaTransfer::Limits AreaTransfer::ChannelLimits() const
{
    return Limits{m_channel.attempts, m_channel.answerTimeoutSec};
}

void AreaTransfer::ReportOperationError(const char* operation)
{
    const QString text = QString::asprintf("Ошибка выполнения %s!", operation);
    m_owner.LogLine(text);
    m_owner.ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconError);
}

AreaTransfer::Route AreaTransfer::RouteFor(const char* operation)
{
    switch (m_master.FunctionSet()) {
        case CModbusMaster::kStandardFunctions:
            return Route::kStandard;
        case CModbusMaster::kNonStandardFunctions:
            return Route::kFunction48;
        default:
            ReportOperationError(operation);
            return Route::kNone;
    }
}

bool AreaTransfer::ReadArea(MeterArea area, int bytes, const char* operation, Limits limits)
{
    std::uint8_t* image = m_data.image.data();
    std::uint8_t* field = m_data.At(area);
    switch (RouteFor(operation)) {
        case Route::kStandard:
            return m_master.ReadRegisters(image, field, bytes, field, limits.attempts, limits.timeoutSec);
        case Route::kFunction48:
            return m_master.ReadWrite48(nullptr, nullptr, 0, image, field, bytes, field, limits.attempts,
                                        limits.timeoutSec);
        case Route::kNone:
            break;
    }
    return false;
}

bool AreaTransfer::WriteArea(const RegisterImage& from, MeterArea area, int bytes, const char* operation, Limits limits)
{
    const std::uint8_t* field = from.data() + AreaOffset(area);
    switch (RouteFor(operation)) {
        case Route::kStandard:
            return m_master.WriteRegisters(from.data(), field, bytes, limits.attempts, limits.timeoutSec);
        case Route::kFunction48:
            return m_master.ReadWrite48(from.data(), field, bytes, nullptr, nullptr, 0, nullptr, limits.attempts,
                                        limits.timeoutSec);
        case Route::kNone:
            break;
    }
    return false;
}

bool AreaTransfer::WriteRequestThenRead(const ArchiveRequest& request, MeterArea readArea, int readBytes,
                                        const char* operation, bool always48)
{
    const Limits limits = ChannelLimits();
    std::memcpy(m_data.At(MeterArea::kArchiveRequest), &request, sizeof request);
    std::uint8_t* image = m_data.image.data();
    std::uint8_t* field = m_data.At(readArea);
    const Route route = always48 ? Route::kFunction48 : RouteFor(operation);
    switch (route) {
        case Route::kStandard:
            return WriteArea(m_data.image, MeterArea::kArchiveRequest, int(sizeof request), operation, limits)
                && m_master.ReadRegisters(image, field, readBytes, field, limits.attempts, limits.timeoutSec);
        case Route::kFunction48:
            return m_master.ReadWrite48(image, m_data.At(MeterArea::kArchiveRequest), int(sizeof request), image, field,
                                        readBytes, field, limits.attempts, limits.timeoutSec);
        case Route::kNone:
            break;
    }
    return false;
}
