// Archive reads: the descriptors, one record of a value archive, current values and totals, event-log
// entries, flash pages and the meter's clock. Every answer area is cleared before it is read, so a
// short answer leaves nothing of an earlier one behind.
//
// A value-archive record carries its date, so an answer meant for another master is recognised and asked
// for again. Event-log entries carry no number and a flash page nothing of its request; a flash page
// travels as one 0x48 transfer, which no other master can come between.

#include "base/message_style.h"
#include "channel/channel_owner.h"
#include "meter/event_record.h"
#include "meter/record_date_match.h"
#include "protocol/device_operations.h"

#include <algorithm>
#include <cstring>

namespace {

using enum MeterArea;

constexpr const char* kValueArchiveTitles[kValueArchiveCount] = {
    "Чтение часового архива за", "Чтение суточного архива за", "Чтение месячного архива за",
    "Чтение итогового архива за"};
constexpr const char* kEventLogTitles[kEventLogCount] = {"Чтение архива изм. БД", "Чтение архива адм. соб.",
                                                         "Чтение архива диагностик"};
constexpr char kUnknownArchiveTitle[] = "Чтение неизвестного типа архива за";
constexpr char kArchiveProgress[] = "Чтение архива";
constexpr int kClockBytes = 6;

QString AskedText(const ArchiveRequest& request)
{
    return StampText(StampOf(request.date, request.minute, request.second));
}

QString OtherDateRetryText(const ArchiveRequest& request, const TChronoArch& carried)
{
    return QString::fromUtf8("Прибор ответил записью за другую дату (%1 вместо %2), запрос повторяется")
        .arg(StampText(StampOf(carried)), AskedText(request));
}

QString OtherDateRefusalText(const ArchiveRequest& request, const TChronoArch& carried, int attempts)
{
    return QString::fromUtf8(
               "Запись за %1 не прочитана: прибор отвечал записями за другие даты (последняя - за %2), "
               "попыток: %3")
        .arg(AskedText(request), StampText(StampOf(carried)))
        .arg(attempts);
}

}  // namespace

bool DeviceOperations::ReadArchInfo()
{
    BeginOperation(QString::fromUtf8("Чтение данных об архиве"));
    const Limits limits = m_areas.ChannelLimits();
    const char* operation = "ReadArchInfo";
    if (!m_areas.ReadArea(kDescriptorDates, AreaCapacity(kDescriptorDates), operation, limits)
        || !m_areas.ReadArea(kDescriptorCapacities, AreaCapacity(kDescriptorCapacities), operation, limits)
        || !m_areas.ReadArea(kDescriptorEventLogs, AreaCapacity(kDescriptorEventLogs), operation, limits))
        return false;
    ArchiveDescriptors& descriptors = m_data.descriptors;
    std::memcpy(&descriptors.dates, m_data.At(kDescriptorDates), sizeof descriptors.dates);
    std::memcpy(&descriptors.capacities, m_data.At(kDescriptorCapacities), sizeof descriptors.capacities);
    std::memcpy(&descriptors.logs, m_data.At(kDescriptorEventLogs), sizeof descriptors.logs);
    return true;
}

DeviceOperations::RecordRead DeviceOperations::ReadArchRecord(QString* refusal)
{
    const ArchiveRequest request = m_data.request;
    const char* title = request.kind < kValueArchiveCount ? kValueArchiveTitles[request.kind] : kUnknownArchiveTitle;
    const TChronoArch& date = request.date;
    BeginOperation(QString::asprintf("%s %.2d.%.2d.%.2d %.2d:%.2d:%.2d", title, date.day, date.month, date.year + 2000,
                                     date.hour, request.minute, request.second),
                   QString::fromUtf8(kArchiveProgress));
    // An unknown kind is passed on for the meter to judge; its answer lands in the record area.
    const MeterArea area = request.kind == kArchiveTotals ? kTotalsRecord : kArchiveRecord;
    // A record of another date counts as one of the node's attempts, as a lost answer does.
    const int attempts = std::max(1, m_areas.ChannelLimits().attempts);
    for (int attempt = 1;; ++attempt) {
        std::memset(m_data.At(area), 0, kAnswerSlotBytes);
        if (!m_areas.WriteRequestThenRead(request, area, AreaSize(area, FirmwareLevel()), "ReadArchValues"))
            return RecordRead::kFailed;
        TChronoArch carried{};
        std::memcpy(&carried, m_data.At(area), sizeof carried);
        if (MatchRecordDate(request.kind, request.date, carried) != RecordDateMatch::kOther)
            return RecordRead::kRead;
        if (attempt >= attempts) {
            std::memset(m_data.At(area), 0, kAnswerSlotBytes);
            const QString text = OtherDateRefusalText(request, carried, attempts);
            m_owner.LogLine(text);
            if (refusal)
                *refusal = text;
            return RecordRead::kOtherDate;
        }
        m_owner.LogLine(OtherDateRetryText(request, carried));
    }
}

bool DeviceOperations::ReadArchValues()
{
    QString refusal;
    const RecordRead read = ReadArchRecord(&refusal);
    if (read == RecordRead::kOtherDate)
        m_owner.ShowMessage(refusal, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconWarning);
    return read == RecordRead::kRead;
}

bool DeviceOperations::ReadCurrentValues()
{
    const std::uint16_t kind = m_data.request.kind;
    const char* title = kind == kArchiveCurrentValues ? "Чтение текущих"
        : kind == kArchiveCurrentTotals               ? "Чтение текущих итогов"
                                                      : "Чтение неизвестного типа данных";
    BeginOperation(QString::fromUtf8(title));
    const MeterArea area = kind == kArchiveCurrentValues ? kCurrentValues : kCurrentTotals;
    std::memset(m_data.At(area), 0, kAnswerSlotBytes);
    return m_areas.ReadArea(area, AreaCapacity(area), "ReadCurrentValues", m_areas.ChannelLimits());
}

bool DeviceOperations::ReadAsyncArch()
{
    const std::uint16_t log = m_data.request.kind;
    const std::uint16_t first = m_data.request.recordNumber;
    const std::uint16_t count = m_data.request.count;
    const bool known = log < kEventLogCount;
    BeginOperation(QString::asprintf("%s (запись N%.4d, кол-во %.2d)",
                                     known ? kEventLogTitles[log] : kUnknownArchiveTitle, first, count),
                   QString::fromUtf8(kArchiveProgress));
    // There are three logs, and a slot holds sixteen entries: anything else is refused unsent.
    if (!known || count > kMaxEventEntries) {
        m_areas.ReportOperationError("ReadAsyncArch");
        return false;
    }
    ArchiveRequest request{};
    request.recordNumber = first;
    const MeterArea area = EventLogReceiveArea(log);
    std::memset(m_data.At(area), 0, kAnswerSlotBytes);
    return m_areas.WriteRequestThenRead(request, area, int(count * kEventRecordSize), "ReadAsyncArch");
}

bool DeviceOperations::ReadFlashPage()
{
    BeginOperation(QString::asprintf("Чтение страницы %d flash", m_data.request.recordNumber));
    std::memset(m_data.At(kFlashPage), 0, kAnswerSlotBytes);
    return m_areas.WriteRequestThenRead(m_data.request, kFlashPage, AreaCapacity(kFlashPage), "ReadFlashPage", true);
}

bool DeviceOperations::ReadCurrentDateTime()
{
    BeginOperation(QString::fromUtf8("Чтение текущей даты/времени"));
    std::memset(m_data.At(kCurrentValues), 0, kClockBytes);
    return m_areas.ReadArea(kCurrentValues, kClockBytes, "ReadCurrentDateTime", m_areas.ChannelLimits());
}
