#pragma once
// What goes over the reference stand's line. The stand takes five-byte commands, unframed:
//
//   set resistance measure:       'W' 'd'      index CR LF     ('d' = 0x64)
//   set current measure n (0-3):  'W' 0x60+n   index CR LF
//
// The index (0-7) is a byte value, not a digit: 95.1 Ohm is 57 64 02 0D 0A. The stand answers "Ok",
// possibly after echoing the command; there is no checksum.

#include <array>
#include <cstdint>

constexpr int kStandCommandLength = 5;
constexpr int kStandMeasures = 8;
constexpr int kStandCurrentOutputs = 4;

using StandCommand = std::array<std::uint8_t, kStandCommandLength>;

// The measures the stand can switch to, by index.
extern const std::array<double, kStandMeasures> kStandResistances;  // Ohm
extern const std::array<double, kStandMeasures> kStandCurrents;     // mA

// Index of `value` in the table by exact comparison (the values come from the same table), or -1.
int StandResistanceIndex(double ohm);
int StandCurrentIndex(double milliampere);

StandCommand ResistanceCommand(int index);
// `output` 0-3.
StandCommand CurrentCommand(int output, int index);

// True when the answer, after the command's echo if it starts with one, is "Ok" (a line end after it
// is tolerated).
bool StandAnswerOk(const std::uint8_t* answer, int length, const StandCommand& command);
