#include "configuration_area.h"

#include "event_logs.h"
#include "meter_areas.h"

#include "config/older_layout.h"
#include "config/tunes_defaults.h"
#include "protocol/checksums.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kTunesOffset = ByteOffset(MeterRegister::kTunes);
constexpr int kTunesChecksumOffset = ByteOffset(MeterRegister::kTunesChecksum);
constexpr int kOpenOffset = ByteOffset(MeterRegister::kOpenSettings);
constexpr int kOpenChecksumOffset = ByteOffset(MeterRegister::kOpenChecksum);

std::uint16_t TunesCrc(const MeterImage& image, std::uint16_t level)
{
    return Crc16Modbus(image.Bytes() + kTunesOffset, static_cast<std::size_t>(TunesBytes(level)));
}

// A checksum block: the CRC word, then zeros.
void PutChecksumBlock(MeterImage& image, int offset, int bytes, std::uint16_t crc)
{
    std::memset(image.Bytes() + offset, 0, static_cast<std::size_t>(bytes));
    image.PutU16(offset, crc);
}

// The open settings as they would be after this write.
std::array<std::uint8_t, MeterRegister::kOpenSettingsBytes> OpenSettingsAfter(const MeterImage& image, int start, int count,
                                                                          const std::uint8_t* wire)
{
    std::array<std::uint8_t, MeterRegister::kOpenSettingsBytes> bytes{};
    std::memcpy(bytes.data(), image.Bytes() + kOpenOffset, bytes.size());
    const int first = std::max(start, MeterRegister::kOpenSettings);
    const int end = std::min(start + count, MeterRegister::kOpenSettings + RegistersFor(MeterRegister::kOpenSettingsBytes));
    for (int reg = first; reg < end; ++reg) {
        const int at = 2 * (reg - MeterRegister::kOpenSettings);
        bytes[static_cast<std::size_t>(at)] = wire[2 * (reg - start) + 1];
        bytes[static_cast<std::size_t>(at + 1)] = wire[2 * (reg - start)];
    }
    return bytes;
}

}  // namespace

void ConfigurationArea::Initialise(MeterImage& image, bool badTunesChecksum, bool badOpenChecksum)
{
    const std::uint16_t level = FirmwareLevelOf(image);
    TunesRecord tunes;
    OpenSettings open;
    MakeDefaultTunes(tunes, open);
    const ControlsBlock controls{};
    if (HasSeparateControls(level)) {
        std::memcpy(image.Bytes() + kTunesOffset, &tunes, sizeof tunes);
        std::memcpy(image.At(MeterRegister::kControls), &controls, sizeof controls);
    } else {
        const OlderTunesImage older = JoinOlderTunes(tunes, controls);
        std::memcpy(image.Bytes() + kTunesOffset, older.data(), older.size());
    }
    std::memcpy(image.Bytes() + kOpenOffset, &open, sizeof open);

    const std::uint16_t tunesCrc = TunesCrc(image, level);
    const std::uint16_t openCrc = Crc16Modbus(image.Bytes() + kOpenOffset, sizeof open);
    PutChecksumBlock(image, kTunesChecksumOffset, MeterRegister::kTunesChecksumBytes,
                     badTunesChecksum ? static_cast<std::uint16_t>(~tunesCrc) : tunesCrc);
    PutChecksumBlock(image, kOpenChecksumOffset, MeterRegister::kOpenChecksumBytes,
                     badOpenChecksum ? static_cast<std::uint16_t>(~openCrc) : openCrc);
    m_open = false;
    m_saved.clear();
}

TunesRecord ConfigurationArea::Tunes(const MeterImage& image) const
{
    TunesRecord tunes;
    std::memcpy(&tunes, image.Bytes() + kTunesOffset, sizeof tunes);
    return tunes;
}

void ConfigurationArea::EditTunes(MeterImage& image, const std::function<void(TunesRecord&)>& edit) const
{
    TunesRecord tunes = Tunes(image);
    edit(tunes);
    std::memcpy(image.Bytes() + kTunesOffset, &tunes, sizeof tunes);
    image.PutU16(kTunesChecksumOffset, TunesCrc(image, FirmwareLevelOf(image)));
}

ReportTime ConfigurationArea::ReportTimeOf(const MeterImage& image)
{
    const std::uint8_t* record = image.Bytes() + kTunesOffset;
    return ReportTime{record[offsetof(TunesRecord, reportHour)], record[offsetof(TunesRecord, reportDay)]};
}

int ConfigurationArea::CheckWrite(const MeterImage& image, int start, int count, const std::uint8_t* wire)
{
    const std::uint16_t level = FirmwareLevelOf(image);
    if (!HasSeparateControls(level) && Overlaps(start, count, MeterRegister::kControls, MeterRegister::kControlsBytes))
        return SlaveException::kIllegalAddress;
    const bool protectedArea = Overlaps(start, count, MeterRegister::kTunes, TunesBytes(level))
        || Overlaps(start, count, MeterRegister::kTunesChecksum, MeterRegister::kTunesChecksumBytes);
    if (protectedArea && !m_open)
        return SlaveException::kAccessDenied;
    if (Overlaps(start, count, MeterRegister::kOpenSettings, MeterRegister::kOpenSettingsBytes)) {
        const auto after = OpenSettingsAfter(image, start, count, wire);
        if (Crc16Modbus(after.data(), after.size()) != image.GetU16(kOpenChecksumOffset))
            return SlaveException::kIllegalValue;
    }
    return 0;
}

int ConfigurationArea::BeforeRead(MeterImage& image, int start, int count)
{
    if (!HasSeparateControls(FirmwareLevelOf(image))
        && Overlaps(start, count, MeterRegister::kControls, MeterRegister::kControlsBytes))
        return SlaveException::kIllegalAddress;
    return 0;
}

int ConfigurationArea::Execute(const ServiceCommandBlock& command, MeterImage& image)
{
    if (command.code == kOpenProtectedWrite) {
        // A repeated command 1 (its answer lost on the line) keeps what the first one saved.
        if (!m_open) {
            const int bytes = TunesBytes(FirmwareLevelOf(image));
            m_saved.assign(image.Bytes() + kTunesOffset, image.Bytes() + kTunesOffset + bytes);
            m_saved.insert(m_saved.end(), image.Bytes() + kTunesChecksumOffset,
                           image.Bytes() + kTunesChecksumOffset + MeterRegister::kTunesChecksumBytes);
            m_open = true;
        }
        return 0;
    }
    if (command.code == kCloseProtectedWrite)
        return CloseProtectedWrite(image);
    return kNotMine;
}

int ConfigurationArea::CloseProtectedWrite(MeterImage& image)
{
    const std::uint16_t level = FirmwareLevelOf(image);
    const int bytes = TunesBytes(level);
    const std::uint16_t crc = TunesCrc(image, level);
    const bool matches = crc == image.GetU16(kTunesChecksumOffset);
    const bool wasOpen = m_open;
    m_open = false;
    if (!wasOpen)  // a repeated command 2: nothing to keep, only to confirm
        return matches ? 0 : SlaveException::kIllegalValue;
    const std::uint16_t before = GetLittleEndian16(m_saved.data() + bytes);
    if (!matches) {
        std::memcpy(image.Bytes() + kTunesOffset, m_saved.data(), static_cast<std::size_t>(bytes));
        std::memcpy(image.Bytes() + kTunesChecksumOffset, m_saved.data() + bytes, MeterRegister::kTunesChecksumBytes);
        return SlaveException::kIllegalValue;
    }
    if (!std::equal(m_saved.begin(), m_saved.begin() + bytes, image.Bytes() + kTunesOffset))
        m_logs.Append(kEventLogDbChanges,
                      MakeEvent(m_clock.Now(), MeterEvent::kConfigurationWritten, 0, kEventValueU16, 0, before, crc));
    return 0;
}
