#include "nodes/node_base_file.h"

#include <cstring>

namespace NodeBaseFile {

namespace {

NodeBaseHeader MakeHeader(qsizetype count)
{
    NodeBaseHeader header{};
    std::memcpy(header.signature, kSignature, sizeof(kSignature));
    header.format = kFormat;
    header.entrySize = sizeof(NodeEntry);
    header.count = static_cast<std::int32_t>(count);
    return header;
}

bool IsOurs(const NodeBaseHeader& header)
{
    const NodeBaseHeader expected = MakeHeader(0);
    return std::memcmp(header.signature, expected.signature, sizeof(header.signature)) == 0 && header.format == kFormat
        && header.entrySize == static_cast<std::int32_t>(sizeof(NodeEntry));
}

NodeEntry StoredAsTcp(NodeEntry entry)
{
    entry.record.SetIpProtocol(NodeRecord::kIpProtocolTcp);
    return entry;
}

}  // namespace

std::int64_t ImageSize(const QByteArray& header)
{
    if (header.size() < static_cast<qsizetype>(sizeof(NodeBaseHeader)))
        return header.size();
    NodeBaseHeader fields;
    std::memcpy(&fields, header.constData(), sizeof(fields));
    if (!IsOurs(fields) || fields.count < 0)
        return sizeof(fields);
    return static_cast<std::int64_t>(sizeof(fields)) + static_cast<std::int64_t>(fields.count) * sizeof(NodeEntry);
}

QByteArray Write(const QList<NodeEntry>& entries)
{
    const NodeBaseHeader header = MakeHeader(entries.size());
    QByteArray image(reinterpret_cast<const char*>(&header), sizeof(header));
    image.reserve(static_cast<qsizetype>(sizeof(header) + entries.size() * sizeof(NodeEntry)));
    for (const NodeEntry& entry : entries) {
        const NodeEntry stored = StoredAsTcp(entry);
        image.append(reinterpret_cast<const char*>(&stored), sizeof(stored));
    }
    return image;
}

ParseResult Parse(const QByteArray& image, QList<NodeEntry>& entries, std::int64_t* counted)
{
    entries.clear();
    if (counted)
        *counted = 0;
    // Even an empty base has its header: a file of no bytes lost what it held (a full disk, a cut write).
    if (image.size() < static_cast<qsizetype>(sizeof(NodeBaseHeader)))
        return ParseResult::kShortHeader;
    NodeBaseHeader header;
    std::memcpy(&header, image.constData(), sizeof(header));
    if (!IsOurs(header))
        return ParseResult::kForeign;
    if (counted)
        *counted = header.count;
    const std::int64_t available = (image.size() - static_cast<std::int64_t>(sizeof(header))) / sizeof(NodeEntry);
    if (header.count < 0 || header.count > available)
        return ParseResult::kTruncated;
    entries.reserve(header.count);
    const char* next = image.constData() + sizeof(header);
    for (std::int32_t i = 0; i < header.count; ++i, next += sizeof(NodeEntry)) {
        NodeEntry entry;
        std::memcpy(&entry, next, sizeof(entry));
        entries.append(StoredAsTcp(entry));
    }
    return ParseResult::kOk;
}

}  // namespace NodeBaseFile
