#pragma once
// The measurement schemes of a thermal input: which pipes measure what, and the (КТ3, ФРТ) combinations
// each scheme offers, for which models, with which formulas. A constant table; nothing here is set up
// by the user.
//
// КТ3 (role of pipe 3): 0 unused, 1 volume, 2 temperature (on the input's spare channel), 3 both;
// 4 with ФРТ 11 marks an input without a scheme. ФРТ selects the heat formula; 11 and above: no heat.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "config/bit_field.h"

inline constexpr int kSchemeCount = 15;  // entry 0: "ТВ не исп."
inline constexpr int kMaxScheme = 14;
inline constexpr unsigned kNoSchemeKt3 = 4;
inline constexpr unsigned kNoSchemeFrt = 11;
inline constexpr unsigned kQgLabelNone = 4;  // Qг label indices from 4 up mean "no Qг"

struct SchemeCombination {
    // bits 0-2 КТ3, 3-6 ФРТ, 7-9 Qг label index, 10 Qтв label index, 11 no Qтв, 12 not used here,
    // 13 dt control offered, 14 dM control offered, 15 zero
    std::uint16_t word;
    std::uint8_t modelsTv1;  // bit n: model index n allowed on ТВ1 ("04.1" tests bit 0)
    std::uint8_t modelsTv2;
    std::uint8_t codes[4];  // four further codes, kept so the table is whole
    const char* m1;         // mass formula texts
    const char* m2;
    const char* m3;
    const char* dM;

    constexpr unsigned Kt3() const { return GetBits(word, 0, 3); }
    constexpr unsigned Frt() const { return GetBits(word, 3, 4); }
    constexpr unsigned QgIndex() const { return GetBits(word, 7, 3); }
    constexpr unsigned QtvIndex() const { return GetBits(word, 10, 1); }
    constexpr bool NoQtv() const { return GetBits(word, 11, 1) != 0; }
    constexpr bool DtControlOffered() const { return GetBits(word, 13, 1) != 0; }
    constexpr bool DmControlOffered() const { return GetBits(word, 14, 1) != 0; }
    // Whether the combination may be configured on `input` (0, 1) of a meter of `model`.
    bool AllowsModel(int model, int input) const;
};

struct SchemeEntry {
    const char* group;             // group name shown next to the number
    std::uint8_t temperatureMask;  // bit p: pipe p (from 0) has a temperature
    std::uint8_t pressureMask;
    std::uint8_t volumeMask;
    std::span<const SchemeCombination> rows;

    bool Measures(std::uint8_t mask, int pipe) const { return ((mask >> pipe) & 1) != 0; }
};

// Entries 0..14; entry 0 has no rows.
const std::array<SchemeEntry, kSchemeCount>& SchemeTable();

// The entry of a scheme, or null outside 0..14.
const SchemeEntry* SchemeAt(int scheme);
// A row of a scheme by its position (from 0), or null.
const SchemeCombination* CombinationAt(int scheme, int row);

// Position of the row with this КТ3 and ФРТ (bits 0-6 of the word), or -1.
int FindCombination(int scheme, unsigned kt3, unsigned frt);

// A scheme is offered on an input when one of its rows allows the model there; scheme 0 always is.
bool SchemeOfferedFor(int scheme, int model, int input);
// Scheme 0 and every scheme offered, ascending.
std::vector<int> SchemeListFor(int model, int input);
// Positions of the rows that allow the model on the input, in table order.
std::vector<int> CombinationListFor(int scheme, int model, int input);

// Whether some row of the scheme computes heat (ФРТ below 11): "Контр.Q" means something only then.
bool SchemeComputesHeat(int scheme);
