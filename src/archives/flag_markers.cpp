#include "archives/flag_markers.h"

#include <algorithm>

namespace {

constexpr char kMarkerChars[kMarkerPositions] = {'<', '>', '!'};
constexpr int kNoBit = -1;

struct MarkerBits {
    FlaggedQuantity quantity;
    int bits[kMarkerPositions];  // bit for "<", ">", "!" in the quantity's flag field
};

constexpr MarkerBits kMarkerBits[] = {
    {FlaggedQuantity::Unflagged, {kNoBit, kNoBit, kNoBit}},
    {FlaggedQuantity::PipeT, {0, 1, 2}},
    {FlaggedQuantity::PipeP, {3, 4, kNoBit}},
    {FlaggedQuantity::PipeV, {5, 6, 7}},
    {FlaggedQuantity::InputDt, {0, kNoBit, kNoBit}},
    {FlaggedQuantity::InputDm, {1, kNoBit, kNoBit}},
    {FlaggedQuantity::InputQtv, {2, kNoBit, kNoBit}},
    {FlaggedQuantity::InputTx, {3, 4, 5}},
    {FlaggedQuantity::InputTnv, {6, 7, 8}},
    {FlaggedQuantity::InputQ12, {9, kNoBit, kNoBit}},
    {FlaggedQuantity::InputQg, {10, kNoBit, kNoBit}},
    {FlaggedQuantity::Dp, {0, 1, kNoBit}},
};

const MarkerBits& BitsOf(FlaggedQuantity quantity)
{
    for (const auto& entry : kMarkerBits) {
        if (entry.quantity == quantity)
            return entry;
    }
    return kMarkerBits[0];
}

}  // namespace

int MarkerBit(FlaggedQuantity quantity, int position)
{
    if (position < 0 || position >= kMarkerPositions)
        return kNoBit;
    return BitsOf(quantity).bits[position];
}

char MarkerChar(int position)
{
    return position >= 0 && position < kMarkerPositions ? kMarkerChars[position] : ' ';
}

QString Markers(FlaggedQuantity quantity, std::uint16_t flags, int positions)
{
    const MarkerBits& entry = BitsOf(quantity);
    const int count = std::clamp(positions, 0, kMarkerPositions);
    QString text(count, QLatin1Char(' '));
    for (int i = 0; i < count; ++i) {
        const int bit = entry.bits[i];
        if (bit != kNoBit && (flags & (1u << bit)))
            text[i] = QLatin1Char(kMarkerChars[i]);
    }
    return text;
}
