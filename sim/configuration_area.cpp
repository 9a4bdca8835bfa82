#include "configuration_area.h"

#include "demo_configuration.h"
#include "event_logs.h"
#include "meter_areas.h"

#include "config/older_layout.h"
#include "config/tunes_defaults.h"
#include "protocol/config_checksums.h"

#include <algorithm>
#include <cstring>

namespace {

int TunesBytes(const MeterImage& image)
{
    return AreaSize(MeterArea::kTunes, FirmwareLevelOf(image));
}

bool HasSeparateControls(const MeterImage& image)
{
    return AreaSize(MeterArea::kControls, FirmwareLevelOf(image)) > 0;
}

std::uint16_t TunesCrc(const MeterImage& image)
{
    return Crc16Modbus(AreaIn(image, MeterArea::kTunes), static_cast<std::size_t>(TunesBytes(image)));
}

// The open settings as they would be after this write.
OpenSettings OpenSettingsAfter(const MeterImage& image, int start, int count, const std::uint8_t* wire)
{
    OpenSettings open;
    auto* bytes = reinterpret_cast<std::uint8_t*>(&open);
    std::memcpy(bytes, AreaIn(image, MeterArea::kOpenSettings), sizeof open);
    const int area = AreaRegister(MeterArea::kOpenSettings);
    const int first = std::max(start, area);
    const int end = std::min(start + count, area + RegistersFor(sizeof open));
    for (int reg = first; reg < end; ++reg) {
        bytes[2 * (reg - area)] = wire[2 * (reg - start) + 1];
        bytes[2 * (reg - area) + 1] = wire[2 * (reg - start)];
    }
    return open;
}

}  // namespace

void ConfigurationArea::Initialise(MeterImage& image, const StartContents& contents)
{
    TunesRecord tunes;
    OpenSettings open;
    ControlsBlock controls{};
    if (contents.blank)
        MakeDefaultTunes(tunes, open);
    else
        MakeDemoConfiguration(contents.model, contents.networkAddress, tunes, open, controls);
    std::uint8_t* record = AreaIn(image, MeterArea::kTunes);
    if (HasSeparateControls(image)) {
        std::memcpy(record, &tunes, sizeof tunes);
        std::memcpy(AreaIn(image, MeterArea::kControls), &controls, sizeof controls);
    } else {
        const OlderTunesImage older = JoinOlderTunes(tunes, controls);
        std::memcpy(record, older.data(), older.size());
    }
    std::uint8_t* openBytes = AreaIn(image, MeterArea::kOpenSettings);
    std::memcpy(openBytes, &open, sizeof open);

    std::uint8_t* tunesBlock = AreaIn(image, MeterArea::kTunesChecksum);
    std::uint8_t* openBlock = AreaIn(image, MeterArea::kOpenChecksum);
    PutChecksumBlock(tunesBlock, AreaCapacity(MeterArea::kTunesChecksum), record, TunesBytes(image));
    PutChecksumBlock(openBlock, AreaCapacity(MeterArea::kOpenChecksum), openBytes, sizeof open);
    // A damaged memory: the stored checksum no longer matches.
    if (contents.badTunesChecksum)
        tunesBlock[0] ^= 0xFF;
    if (contents.badOpenChecksum)
        openBlock[0] ^= 0xFF;
    m_open = false;
    m_saved.clear();
}

TunesRecord ConfigurationArea::Tunes(const MeterImage& image) const
{
    TunesRecord tunes;
    std::memcpy(&tunes, AreaIn(image, MeterArea::kTunes), sizeof tunes);
    return tunes;
}

void ConfigurationArea::EditTunes(MeterImage& image, const std::function<void(TunesRecord&)>& edit) const
{
    TunesRecord tunes = Tunes(image);
    edit(tunes);
    std::uint8_t* record = AreaIn(image, MeterArea::kTunes);
    std::memcpy(record, &tunes, sizeof tunes);
    PutChecksumBlock(AreaIn(image, MeterArea::kTunesChecksum), AreaCapacity(MeterArea::kTunesChecksum), record,
                     TunesBytes(image));
}

ReportTime ConfigurationArea::ReportTimeOf(const MeterImage& image)
{
    const std::uint8_t* record = AreaIn(image, MeterArea::kTunes);
    return ReportTime{record[offsetof(TunesRecord, reportHour)], record[offsetof(TunesRecord, reportDay)]};
}

int ConfigurationArea::CheckWrite(const MeterImage& image, int start, int count, const std::uint8_t* wire)
{
    if (!HasSeparateControls(image) && Touches(start, count, MeterArea::kControls))
        return SlaveException::kIllegalAddress;
    const bool protectedArea = Touches(start, count, MeterArea::kTunes, TunesBytes(image))
        || Touches(start, count, MeterArea::kTunesChecksum);
    if (protectedArea && !m_open)
        return SlaveException::kAccessDenied;
    if (Touches(start, count, MeterArea::kOpenSettings)) {
        const OpenSettings after = OpenSettingsAfter(image, start, count, wire);
        if (!ChecksumBlockMatches(AreaIn(image, MeterArea::kOpenChecksum),
                                  reinterpret_cast<const std::uint8_t*>(&after), sizeof after))
            return SlaveException::kIllegalValue;
    }
    return 0;
}

int ConfigurationArea::BeforeRead(MeterImage& image, int start, int count)
{
    if (!HasSeparateControls(image) && Touches(start, count, MeterArea::kControls))
        return SlaveException::kIllegalAddress;
    return 0;
}

int ConfigurationArea::Execute(const ServiceCommand& command, MeterImage& image)
{
    if (command.Code() == kOpenProtectedWrite) {
        // A repeated command 1 (its answer lost on the line) keeps what the first one saved.
        if (!m_open) {
            const std::uint8_t* record = AreaIn(image, MeterArea::kTunes);
            const std::uint8_t* block = AreaIn(image, MeterArea::kTunesChecksum);
            m_saved.assign(record, record + TunesBytes(image));
            m_saved.insert(m_saved.end(), block, block + AreaCapacity(MeterArea::kTunesChecksum));
            m_open = true;
        }
        return 0;
    }
    if (command.Code() == kCloseProtectedWrite)
        return CloseProtectedWrite(image);
    return kNotMine;
}

int ConfigurationArea::CloseProtectedWrite(MeterImage& image)
{
    const int bytes = TunesBytes(image);
    std::uint8_t* record = AreaIn(image, MeterArea::kTunes);
    std::uint8_t* block = AreaIn(image, MeterArea::kTunesChecksum);
    const bool matches = ChecksumBlockMatches(block, record, bytes);
    const bool wasOpen = m_open;
    m_open = false;
    if (!wasOpen)  // a repeated command 2: nothing to keep, only to confirm
        return matches ? 0 : SlaveException::kIllegalValue;
    const std::uint16_t before = GetLittleEndian16(m_saved.data() + bytes);
    if (!matches) {
        std::memcpy(record, m_saved.data(), static_cast<std::size_t>(bytes));
        std::memcpy(block, m_saved.data() + bytes, m_saved.size() - static_cast<std::size_t>(bytes));
        return SlaveException::kIllegalValue;
    }
    if (!std::equal(m_saved.begin(), m_saved.begin() + bytes, record))
        m_logs.Append(
            kEventLogDbChanges,
            MakeEvent(m_clock.Now(), MeterEvent::kConfigurationWritten, 0, kEventValueU16, 0, before, TunesCrc(image)));
    return 0;
}
