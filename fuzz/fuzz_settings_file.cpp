// A settings file of any bytes: the loader reads what the file has, fills the blocks from it and never
// reads past the file's end. Whatever it took in, saved again and read back, gives the same blocks.

#include "config/tunes_file_format.h"

#include <QByteArray>

#include <cstdlib>
#include <cstring>

namespace {

template <class Block>
bool Same(const Block& a, const Block& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ConfigurationBlocks blocks{};
    ParseTunesFile(bytes, blocks);

    const QByteArray saved = BuildTunesFile(blocks, QDateTime(QDate(2024, 2, 26), QTime(12, 0)));
    if (saved.size() != kTunesFileSize)
        std::abort();
    ConfigurationBlocks reread{};
    const TunesFileReading reading = ParseTunesFile(saved, reread);
    blocks.identity.typeCode = kDeviceTypeCode;  // a save always writes the type code
    if (reading.older || !Same(blocks.identity, reread.identity) || !Same(blocks.tunes, reread.tunes)
        || !Same(blocks.open, reread.open) || !Same(blocks.controls, reread.controls))
        std::abort();
    return 0;
}
