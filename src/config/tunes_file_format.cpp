#include "config/tunes_file_format.h"

#include <QStringList>

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "base/russian_count.h"
#include "config/older_layout.h"

namespace {

constexpr char kFileText[] = "Zt5 tunes file";
static_assert(sizeof kFileText == 15);
static_assert(kTunesFileHeaderSize + sizeof(DeviceIdentity) + sizeof(TunesRecord) + sizeof(OpenSettings)
                  + sizeof(ControlsBlock)
              == kTunesFileSize);
static_assert(kOlderTunesFileHeaderSize + sizeof(DeviceIdentity) + kOlderTunesSize + sizeof(OpenSettings)
              == kOlderTunesFileSize);

void Put16(QByteArray& bytes, qsizetype at, unsigned value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char((value >> 8) & 0xFF);
}

void Put32(QByteArray& bytes, qsizetype at, std::uint32_t value)
{
    Put16(bytes, at, value & 0xFFFF);
    Put16(bytes, at + 2, value >> 16);
}

std::uint32_t Get32(const QByteArray& bytes, qsizetype at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | std::uint8_t(bytes[at + i]);
    return value;
}

template <typename Block>
void Append(QByteArray& bytes, const Block& block)
{
    bytes.append(reinterpret_cast<const char*>(&block), sizeof block);
}

// Reads the way a file handle does: a read past the end takes what is there and leaves the rest of the
// destination as it was.
class FileCursor {
public:
    explicit FileCursor(const QByteArray& bytes) : m_bytes(bytes) {}

    void Read(void* destination, qsizetype size)
    {
        const qsizetype available = std::clamp<qsizetype>(m_bytes.size() - m_position, 0, size);
        std::memcpy(destination, m_bytes.constData() + m_position, std::size_t(available));
        m_position += available;
    }
    void Seek(qsizetype position) { m_position = std::min(position, m_bytes.size()); }

private:
    const QByteArray& m_bytes;
    qsizetype m_position = 0;
};

}  // namespace

QByteArray BuildTunesFile(const ConfigurationBlocks& blocks, const QDateTime& savedAt)
{
    QByteArray bytes(kTunesFileHeaderSize, '\0');
    const QDate date = savedAt.date();
    const QTime time = savedAt.time();
    const unsigned fields[8] = {unsigned(date.year()),   unsigned(date.month()), unsigned(date.dayOfWeek() % 7),
                                unsigned(date.day()),    unsigned(time.hour()),  unsigned(time.minute()),
                                unsigned(time.second()), unsigned(time.msec())};
    for (int i = 0; i < 8; ++i)
        Put16(bytes, 2 * i, fields[i]);
    Put32(bytes, 16, kTunesFileVersion);
    std::memcpy(bytes.data() + 20, kFileText, sizeof kFileText);
    Put32(bytes, 52, sizeof(DeviceIdentity));
    Put32(bytes, 56, sizeof(TunesRecord));
    Put32(bytes, 60, sizeof(OpenSettings));
    Put32(bytes, 64, sizeof(ControlsBlock));

    // A configuration prepared without a meter is a ЗТ5 configuration all the same.
    DeviceIdentity identity = blocks.identity;
    identity.typeCode = kDeviceTypeCode;
    Append(bytes, identity);
    Append(bytes, blocks.tunes);
    Append(bytes, blocks.open);
    Append(bytes, blocks.controls);
    return bytes;
}

namespace {

struct FileBlock {
    const char* name;
    qsizetype size;
};

// The blocks after the header, in file order, and which of them a file of `size` bytes lacks.
QString MissingBlocks(qsizetype size, qsizetype headerSize, std::initializer_list<FileBlock> layout)
{
    QStringList missing;
    qsizetype start = headerSize;
    for (const FileBlock& block : layout) {
        const qsizetype lacking = std::min(block.size, std::max<qsizetype>(0, start + block.size - size));
        if (lacking > 0)
            missing << QString::fromUtf8("%1 (%2 из %3)")
                           .arg(QString::fromUtf8(block.name), CountText(lacking, kBytesForms))
                           .arg(block.size);
        start += block.size;
    }
    return missing.join(QStringLiteral(", "));
}

}  // namespace

TunesFileReading ParseTunesFile(const QByteArray& bytes, ConfigurationBlocks& blocks)
{
    blocks.tunes = TunesRecord{};
    blocks.open = OpenSettings{};
    FileCursor file(bytes);
    QByteArray header(kTunesFileHeaderSize, '\0');
    file.Read(header.data(), header.size());
    file.Read(&blocks.identity, sizeof blocks.identity);

    TunesFileReading reading;
    reading.expectedSize = kTunesFileSize;
    const bool current = blocks.identity.typeCode == kDeviceTypeCode || Get32(header, 16) > kOlderTunesFileVersion;
    if (!current) {
        file.Seek(kOlderTunesFileHeaderSize);
        file.Read(&blocks.identity, sizeof blocks.identity);
        reading.expectedSize = kOlderTunesFileSize;
        if (blocks.identity.typeCode == kDeviceTypeCode) {
            reading.older = true;
            OlderTunesImage image = JoinOlderTunes(blocks.tunes, blocks.controls);
            file.Read(image.data(), kOlderTunesSize);
            SplitOlderTunes(image, blocks.tunes, blocks.controls);
            file.Read(&blocks.open, sizeof blocks.open);
            reading.missing = MissingBlocks(bytes.size(), kOlderTunesFileHeaderSize,
                                            {{"идентификация прибора", qsizetype(sizeof blocks.identity)},
                                             {"запись настроек", qsizetype(kOlderTunesSize)},
                                             {"открытые настройки", qsizetype(sizeof blocks.open)}});
            return reading;
        }
    }
    file.Read(&blocks.tunes, sizeof blocks.tunes);
    file.Read(&blocks.open, sizeof blocks.open);
    file.Read(&blocks.controls, sizeof blocks.controls);
    reading.missing = MissingBlocks(bytes.size(), kTunesFileHeaderSize,
                                    {{"идентификация прибора", qsizetype(sizeof blocks.identity)},
                                     {"запись настроек", qsizetype(sizeof blocks.tunes)},
                                     {"открытые настройки", qsizetype(sizeof blocks.open)},
                                     {"блок управления", qsizetype(sizeof blocks.controls)}});
    return reading;
}

bool IsTunesFile(const QByteArray& bytes)
{
    const auto typeCodeAt = [&](qsizetype at) {
        return bytes.size() >= at + 2 && std::uint8_t(bytes[at]) == (kDeviceTypeCode & 0xFF)
            && std::uint8_t(bytes[at + 1]) == (kDeviceTypeCode >> 8);
    };
    const QByteArray text = QByteArray::fromRawData(kFileText, sizeof kFileText);
    return typeCodeAt(kTunesFileHeaderSize) || typeCodeAt(kOlderTunesFileHeaderSize)
        || bytes.mid(20, text.size()) == text;
}
