// A node base ("Objects.bin") of any bytes: a foreign or cut file is refused, anything taken in can be
// shown (every text field decoded) and is written back to the same bytes.

#include "nodes/node_base_file.h"

#include <QByteArray>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray image(reinterpret_cast<const char*>(data), qsizetype(size));
    NodeBaseFile::ImageSize(image.left(qsizetype(sizeof(NodeBaseHeader))));
    QList<NodeEntry> entries;
    std::int64_t counted = 0;
    if (NodeBaseFile::Parse(image, entries, &counted) != NodeBaseFile::ParseResult::kOk) {
        // A refused file leaves nothing half taken.
        if (!entries.isEmpty())
            std::abort();
        return 0;
    }
    for (const NodeEntry& entry : entries) {
        const NodeRecord& node = entry.record;
        const QString shown = node.Name() + node.Address() + node.Note() + node.IpAddress() + node.PhoneNumber();
        (void)shown;
    }
    QList<NodeEntry> again;
    if (NodeBaseFile::Parse(NodeBaseFile::Write(entries), again) != NodeBaseFile::ParseResult::kOk
        || again.size() != entries.size())
        std::abort();
    return 0;
}
