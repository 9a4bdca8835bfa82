// Moving areas of the register image between the driver and the meter in the node's function set:
// functions 3 and 16, or the meter's own 0x48, which can write a request block and read the answer in
// one transfer.

#include "channel/message_style.h"
#include "protocol/rovo_redod.h"

#include <cstring>

CRovoRedod::Limits CRovoRedod::ChannelLimits() const
{
    const ChannelSettings& settings = m_TransmitChanel.Settings();
    return Limits{settings.attempts, settings.answerTimeoutSec};
}

void CRovoRedod::BeginOperation(const QString& title, const QString& progressTitle)
{
    LogLine(title + QStringLiteral("..."));
    const QString shown = progressTitle.isEmpty() ? title : progressTitle;
    SetOperationText(shown + QStringLiteral("..."));
    SetDetailText(shown);
}

void CRovoRedod::ReportOperationError(const char* operation)
{
    const QString text = QString::asprintf("Ошибка выполнения %s!", operation);
    LogLine(text);
    ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconError);
}

CRovoRedod::Route CRovoRedod::RouteFor(const char* operation)
{
    switch (m_ModbusMaster.FunctionSet()) {
    case CModbusMaster::kStandardFunctions:
        return Route::kStandard;
    case CModbusMaster::kNonStandardFunctions:
        return Route::kFunction48;
    default:
        ReportOperationError(operation);
        return Route::kNone;
    }
}

bool CRovoRedod::ReadArea(MeterArea area, int bytes, const char* operation, Limits limits)
{
    std::uint8_t* image = m_Data.image.data();
    std::uint8_t* field = m_Data.At(area);
    switch (RouteFor(operation)) {
    case Route::kStandard:
        return m_ModbusMaster.ReadRegisters(image, field, bytes, field, limits.attempts, limits.timeoutSec);
    case Route::kFunction48:
        return m_ModbusMaster.ReadWrite48(nullptr, nullptr, 0, image, field, bytes, field, limits.attempts,
                                          limits.timeoutSec);
    case Route::kNone:
        break;
    }
    return false;
}

bool CRovoRedod::WriteArea(const RegisterImage& from, MeterArea area, int bytes, const char* operation, Limits limits)
{
    const std::uint8_t* field = from.data() + AreaOffset(area);
    switch (RouteFor(operation)) {
    case Route::kStandard:
        return m_ModbusMaster.WriteRegisters(from.data(), field, bytes, limits.attempts, limits.timeoutSec);
    case Route::kFunction48:
        return m_ModbusMaster.ReadWrite48(from.data(), field, bytes, nullptr, nullptr, 0, nullptr, limits.attempts,
                                          limits.timeoutSec);
    case Route::kNone:
        break;
    }
    return false;
}

bool CRovoRedod::WriteRequestThenRead(const ArchiveRequest& request, MeterArea readArea, int readBytes,
                                      const char* operation, bool always48)
{
    const Limits limits = ChannelLimits();
    std::memcpy(m_Data.At(MeterArea::kArchiveRequest), &request, sizeof request);
    std::uint8_t* image = m_Data.image.data();
    std::uint8_t* field = m_Data.At(readArea);
    const Route route = always48 ? Route::kFunction48 : RouteFor(operation);
    switch (route) {
    case Route::kStandard:
        return WriteArea(m_Data.image, MeterArea::kArchiveRequest, int(sizeof request), operation, limits)
            && m_ModbusMaster.ReadRegisters(image, field, readBytes, field, limits.attempts, limits.timeoutSec);
    case Route::kFunction48:
        return m_ModbusMaster.ReadWrite48(image, m_Data.At(MeterArea::kArchiveRequest), int(sizeof request), image,
                                          field, readBytes, field, limits.attempts, limits.timeoutSec);
    case Route::kNone:
        break;
    }
    return false;
}
