#pragma once
// "Objects.bin", the node base on disk:
//
//     0  signature "RovoRedod", NUL-padded to 16 bytes
//    16  format word 0x00010003 (little-endian, as every integer here)
//    20  entry size 635
//    24  entry count N
//    28  128 zero bytes
//   156  N entries of 635 bytes: the 632-byte node record, a 16-bit word, a byte
//
// Every entry is stored and read back with the IP protocol of TCP: the program reaches stored nodes
// over TCP only.

#include "nodes/node_record.h"

#include <QByteArray>
#include <QList>

#include <cstdint>

#pragma pack(push, 1)

struct NodeEntry {
    NodeRecord record;
    // Two values that travel with the record; their meaning is unknown, so they are kept as found.
    std::uint16_t trailingWord = 0;
    std::uint8_t trailingByte = 0;
};

struct NodeBaseHeader {
    char signature[16];
    std::int32_t format;
    std::int32_t entrySize;
    std::int32_t count;
    std::uint8_t zero[128];
};

#pragma pack(pop)

static_assert(sizeof(NodeEntry) == 635);
static_assert(sizeof(NodeBaseHeader) == 156);

namespace NodeBaseFile {
inline constexpr char kSignature[] = "RovoRedod";
constexpr std::int32_t kFormat = 0x00010003;

enum class ParseResult {
    kOk,
    kShortHeader,  // fewer than 156 bytes, none at all too
    kForeign,      // not a node base: signature, format or entry size differ
    kTruncated,    // fewer entries than the header counts
};

// How many bytes of the file the image with this header takes (the header alone for a file that is
// not a node base), so that a foreign file is not read whole.
std::int64_t ImageSize(const QByteArray& header);

// The file image of `entries`.
QByteArray Write(const QList<NodeEntry>& entries);
// The entries of a file image. On anything but kOk `entries` is empty and `counted` (when given) holds
// the count the header claims.
ParseResult Parse(const QByteArray& image, QList<NodeEntry>& entries, std::int64_t* counted = nullptr);
}  // namespace NodeBaseFile
