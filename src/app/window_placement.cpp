#include "app/window_placement.h"

#include <QtEndian>

#include <array>

namespace {

constexpr int kFieldCount = WindowPlacement::kRecordSize / 4;
constexpr qint64 kLargestSide = 1 << 16;  // no screen is wider; anything larger is damage

}  // namespace

QByteArray WindowPlacement::ToBytes() const
{
    const std::array<qint32, kFieldCount> fields{kRecordSize,
                                                 static_cast<qint32>(flags),
                                                 showState,
                                                 minimisedPosition.x(),
                                                 minimisedPosition.y(),
                                                 maximisedPosition.x(),
                                                 maximisedPosition.y(),
                                                 normal.left(),
                                                 normal.top(),
                                                 normal.left() + normal.width(),
                                                 normal.top() + normal.height()};
    QByteArray bytes(kRecordSize, '\0');
    for (int i = 0; i < kFieldCount; ++i)
        qToLittleEndian<qint32>(fields[i], bytes.data() + 4 * i);
    return bytes;
}

bool WindowPlacement::FromBytes(const QByteArray& bytes, WindowPlacement* placement)
{
    if (bytes.size() < kRecordSize)
        return false;
    std::array<qint32, kFieldCount> fields{};
    for (int i = 0; i < kFieldCount; ++i)
        fields[i] = qFromLittleEndian<qint32>(bytes.constData() + 4 * i);
    // In 64 bits: a damaged value must not overflow on the way to being refused.
    const qint64 width = qint64(fields[9]) - fields[7];
    const qint64 height = qint64(fields[10]) - fields[8];
    if (fields[0] != kRecordSize || width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide)
        return false;
    const QRect normal(QPoint(fields[7], fields[8]), QSize(int(width), int(height)));
    placement->flags = static_cast<quint32>(fields[1]);
    placement->showState = fields[2];
    placement->minimisedPosition = QPoint(fields[3], fields[4]);
    placement->maximisedPosition = QPoint(fields[5], fields[6]);
    placement->normal = normal;
    return true;
}
