#pragma once
// The "<", ">" and "!" markers that follow a flagged value in the text reports. Each flagged
// quantity has up to three marker positions; a position shows its character when the quantity's
// bit for it is set and a space otherwise (or when the quantity has no such bit).

#include <cstdint>

#include <QString>

enum class FlaggedQuantity {
    Unflagged,  // three spaces
    // pipe flag byte
    PipeT,
    PipeP,
    PipeV,  // also Gо of the current values
    // input flag word
    InputDt,
    InputDm,
    InputQtv,
    InputTx,
    InputTnv,
    InputQ12,
    InputQg,
    // ДП flag byte
    Dp,
};

constexpr int kMarkerPositions = 3;

// The bit of the quantity's flag field behind a marker position (0 "<", 1 ">", 2 "!"); -1 when the
// quantity has no bit there.
int MarkerBit(FlaggedQuantity quantity, int position);
// The character a marker position shows when its bit is set.
char MarkerChar(int position);

// The marker positions of a quantity for its flag field; `positions` cuts them shorter (ДП shows two).
QString Markers(FlaggedQuantity quantity, std::uint16_t flags, int positions = kMarkerPositions);
