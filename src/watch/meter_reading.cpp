#include "watch/meter_reading.h"

#include "protocol/device_operations.h"
#include "protocol/rovo_redod.h"

#include <cstdlib>
#include <cstring>

namespace {

bool ReadArea(CRovoRedod& driver, std::uint16_t kind, MeterArea area, void* into, std::size_t size)
{
    driver.Data().request.kind = kind;
    if (!driver.Operations().ReadCurrentValues())
        return false;
    const std::span<const std::uint8_t> bytes = driver.AreaBytes(area);
    std::memset(into, 0, size);
    std::memcpy(into, bytes.data(), std::min(bytes.size(), std::min(size, kCurrentAreaSize)));
    return true;
}

}  // namespace

QDateTime MeterClockTime(const DateTimeStamp& stamp)
{
    const QDate date(kBaseYear + stamp.year, stamp.month, stamp.day);
    const QTime time(stamp.hour, stamp.minute, stamp.second);
    if (stamp.year == kEmptyYear || !date.isValid() || !time.isValid())
        return {};
    const QDateTime local(date, time);
    return local.toOffsetFromUtc(local.offsetFromUtc());
}

QString IsoTimeWithOffset(const QDateTime& time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
        + QString::asprintf("%c%02d:%02d", offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

std::optional<MeterReading> ReadMeterNow(CRovoRedod& driver)
{
    if (!driver.OpenChannel() || !driver.Operations().ReadVersionInfo())
        return std::nullopt;
    MeterReading reading;
    const DeviceIdentity& identity = driver.Data().configuration.identity;
    reading.serial = identity.serialNumber;
    reading.model = identity.modelIndex;
    reading.version = driver.Data().versionText;
    if (!ReadArea(driver, kArchiveCurrentValues, MeterArea::kCurrentValues, &reading.values, sizeof reading.values)
        || !ReadArea(driver, kArchiveCurrentTotals, MeterArea::kCurrentTotals, &reading.totals, sizeof reading.totals))
        return std::nullopt;
    reading.time = MeterClockTime(reading.values.time);
    return reading;
}
