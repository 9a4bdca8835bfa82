// Identity and configuration: reading the version block, reading the configuration blocks with their
// checksum blocks, and writing them back between service commands 1 and 2.

#include "base/message_style.h"
#include "channel/channel_owner.h"
#include "config/older_layout.h"
#include "config/tunes_defaults.h"
#include "protocol/config_checksums.h"
#include "protocol/device_operations.h"
#include "zt5_version.h"

#include <QDate>

#include <cstring>

namespace {

using enum MeterArea;

constexpr int kIdentityBytes = int(sizeof(DeviceIdentity));
constexpr int kRecordBytes = int(sizeof(TunesRecord));
constexpr int kOpenBytes = int(sizeof(OpenSettings));
constexpr int kControlsBytes = int(sizeof(ControlsBlock));
constexpr std::uint16_t kServiceBeforeRecord = 1;
constexpr std::uint16_t kServiceAfterRecord = 2;

const char kCaptionWarning[] = "Предупреждение";

}  // namespace

bool DeviceOperations::ReadVersionInfo()
{
    m_data.versionText.clear();
    if (!ReadIdentityInto(m_data.configuration.identity))
        return false;
    const DeviceIdentity& identity = m_data.configuration.identity;
    m_data.versionText = QString::asprintf("АВ %d.%d ПВ %d.%d", identity.hardwareVersion >> 8,
                                           identity.hardwareVersion & 0xFF, identity.softwareVersion >> 8,
                                           identity.softwareVersion & 0xFF);
    return true;
}

bool DeviceOperations::ReadIdentityInto(DeviceIdentity& identity)
{
    // The version and date "О программе" shows, so the monitor and the about box agree.
    const QString built = QDate::fromString(QStringLiteral(ZT5_RELEASE_DATE), Qt::ISODate)
                              .toString(QStringLiteral("dd.MM.yyyy"));
    BeginOperation(
        QString::fromUtf8("Чтение версии (конфигуратор версии %1 от \"%2\")").arg(QStringLiteral(ZT5_VERSION), built));
    std::memset(m_data.At(kIdentity), 0, kIdentityBytes);
    if (!m_areas.ReadArea(kIdentity, kIdentityBytes, "ReadVersionInfo", m_areas.ChannelLimits()))
        return false;
    std::memcpy(&identity, m_data.At(kIdentity), kIdentityBytes);
    if (identity.typeCode != kDeviceTypeCode) {
        ReportToOwner(&m_owner, QString::fromUtf8("Подключенное устройство не является прибором заданного типа!"));
        return false;
    }
    return true;
}

bool DeviceOperations::ReadAllTunes()
{
    BeginOperation(QString::fromUtf8("Чтение настроек"));
    ConfigurationBlocks& working = m_data.configuration;
    MakeDefaultTunes(working.tunes, working.open);
    working.controls = ControlsBlock{};

    const std::uint16_t level = FirmwareLevel();
    const Limits limits = m_areas.ChannelLimits();
    const char* operation = "ReadAllTunes";
    const bool read = m_areas.ReadArea(kTunesChecksum, AreaSize(kTunesChecksum, level), operation, limits)
        && m_areas.ReadArea(kTunes, AreaSize(kTunes, level), operation, limits)
        && m_areas.ReadArea(kOpenChecksum, AreaSize(kOpenChecksum, level), operation, limits)
        && m_areas.ReadArea(kOpenSettings, kOpenBytes, operation, limits)
        && (level < kLevelSeparateControls || m_areas.ReadArea(kControls, kControlsBytes, operation, limits));
    if (read)
        TakeReadConfiguration(level);
    return read;
}

void DeviceOperations::TakeReadConfiguration(std::uint16_t level)
{
    ConfigurationBlocks& working = m_data.configuration;
    std::uint8_t* record = m_data.At(kTunes);

    ControlsBlock controls{};
    if (level < kLevelSeparateControls) {
        OlderTunesImage older;
        std::memcpy(older.data(), record, older.size());
        TunesRecord unused;
        SplitOlderTunes(older, unused, controls);
    } else {
        std::memcpy(&controls, m_data.At(kControls), kControlsBytes);
    }

    if (ChecksumBlockMatches(m_data.At(kOpenChecksum), m_data.At(kOpenSettings), kOpenBytes)) {
        std::memcpy(&working.open, m_data.At(kOpenSettings), kOpenBytes);
    } else {
        m_owner.ShowMessage(
            QString::fromUtf8("Не сошлась прочитанная и расчитанная контрольные суммы настроек, не защищенных "
                              "кнопкой Доступ!"),
            QString::fromUtf8(kCaptionWarning), MessageStyle::kIconWarning);
    }

    m_data.tunesChecksumMismatch = !ChecksumBlockMatches(m_data.At(kTunesChecksum), record, AreaSize(kTunes, level));
    if (m_data.tunesChecksumMismatch)
        std::memcpy(&m_data.tunesAsRead, record, kRecordBytes);
    if (!m_data.tunesChecksumMismatch) {
        std::memcpy(&working.tunes, record, kRecordBytes);
    } else if (!m_data.askTunesChecksum) {
        m_owner.ShowMessage(
            QString::fromUtf8("Не сошлась прочитанная и расчитанная контрольные суммы настроек! Настройки "
                              "в приборе оставлены как есть."),
            QString::fromUtf8(kCaptionWarning), MessageStyle::kIconWarning);
        m_owner.LogLine(QString::fromUtf8("Не сошлась прочитанная и расчитанная контрольные суммы настроек!"));
    } else {
        const int answer = m_owner.ShowMessage(
            QString::fromUtf8("Не сошлась прочитанная и расчитанная контрольные суммы "
                              "настроек! Очистить содержимое прочитанных настроек?"),
            QString::fromUtf8(kCaptionWarning), MessageStyle::kYesNo | MessageStyle::kIconWarning);
        if (answer == MessageAnswer::kYes) {
            TunesRecord tunes{};
            OpenSettings open{};
            MakeDefaultTunes(tunes, open);
            std::memcpy(record, &tunes, kRecordBytes);
            std::memcpy(m_data.At(kOpenSettings), &open, kOpenBytes);
        }
        m_owner.LogLine(QString::fromUtf8("Не сошлась прочитанная и расчитанная контрольные суммы настроек!"));
    }
    working.controls = controls;
    m_data.configurationMissing.clear();
}

bool DeviceOperations::WriteAllTunes()
{
    return WriteTunesFor(m_data.configuration.identity);
}

bool DeviceOperations::WriteTunesFor(const DeviceIdentity& meter)
{
    BeginOperation(QString::fromUtf8("Запись настроек"));
    const std::uint16_t level = meter.firmwareLevel;
    const ConfigurationBlocks& working = m_data.configuration;

    // Everything goes out of a copy: the image keeps what was last read from the meter.
    RegisterImage out = m_data.image;
    std::uint8_t* record = out.data() + AreaOffset(kTunes);
    const int recordBytes = AreaSize(kTunes, level);
    if (level < kLevelSeparateControls) {
        const OlderTunesImage older = JoinOlderTunes(working.tunes, working.controls);
        std::memcpy(record, older.data(), older.size());
    } else {
        std::memcpy(record, &working.tunes, kRecordBytes);
        std::memcpy(out.data() + AreaOffset(kControls), &working.controls, kControlsBytes);
    }
    std::uint8_t* open = out.data() + AreaOffset(kOpenSettings);
    std::memcpy(open, &working.open, kOpenBytes);
    PutChecksumBlock(out.data() + AreaOffset(kTunesChecksum), AreaCapacity(kTunesChecksum), record, recordBytes);
    PutChecksumBlock(out.data() + AreaOffset(kOpenChecksum), AreaCapacity(kOpenChecksum), open, kOpenBytes);

    const Limits limits = m_areas.ChannelLimits();
    const char* operation = "WriteAllTunes";
    const auto writeService = [&](std::uint16_t code) {
        PutServiceCommand(out, PlainServiceCommand(code));
        return m_areas.WriteArea(out, kServiceCommand, AreaCapacity(kServiceCommand), operation, limits);
    };
    return writeService(kServiceBeforeRecord) && m_areas.WriteArea(out, kTunes, recordBytes, operation, limits)
        && m_areas.WriteArea(out, kTunesChecksum, AreaCapacity(kTunesChecksum), operation, limits)
        && writeService(kServiceAfterRecord)
        && m_areas.WriteArea(out, kOpenChecksum, AreaCapacity(kOpenChecksum), operation, limits)
        && m_areas.WriteArea(out, kOpenSettings, kOpenBytes, operation, limits)
        && (level < kLevelSeparateControls || m_areas.WriteArea(out, kControls, kControlsBytes, operation, limits));
}
