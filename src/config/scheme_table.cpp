#include "config/scheme_table.h"

#include "config/model_capabilities.h"

namespace {

// Models allowed, as the table writes them.
constexpr std::uint8_t k01to04 = 0x0F;  // "01", "02", "03", "04"
constexpr std::uint8_t k02to04 = 0x0E;  // "02", "03", "04"
constexpr std::uint8_t k03to04 = 0x0C;  // "03", "04"

// Qг label index stored in a row. Schemes 1 (КТ3 3), 3 and 5 draw their M3 label themselves
// (scheme_labels.cpp), so the index of their rows only has to say "there is a Qг".
constexpr unsigned kQgDmH3 = 0;  // "Qг=dM(h3-hx)"
constexpr unsigned kQgM3H3 = 1;  // "Qг=M3(h3-hx)"
constexpr unsigned kQgNone = kQgLabelNone;

constexpr unsigned kQtvQ12 = 0;    // "Qтв=Q12"
constexpr unsigned kQtvQ12Qg = 1;  // "Qтв=Q12+Qг"
constexpr unsigned kQtvNone = 2;   // "нет"

constexpr bool kYes = true;
constexpr bool kNo = false;

struct Codes {
    std::uint8_t b[4];
};

// One row in the order of the columns: КТ3, ФРТ, Qг, Qтв, dM control, dt control, models on ТВ1,
// models on ТВ2, the four further codes, M1, M2, M3, dM.
constexpr SchemeCombination Row(unsigned kt3, unsigned frt, unsigned qg, unsigned qtv, bool dm, bool dt,
                                std::uint8_t tv1, std::uint8_t tv2, Codes codes, const char* m1, const char* m2,
                                const char* m3, const char* dM)
{
    std::uint16_t word = 0;
    word = WithBits(word, 0, 3, kt3);
    word = WithBits(word, 3, 4, frt);
    word = WithBits(word, 7, 3, qg);
    word = WithBits(word, 10, 1, qtv == kQtvQ12Qg ? 1 : 0);
    word = WithBits(word, 11, 1, qtv == kQtvNone ? 1 : 0);
    word = WithBits(word, 13, 1, dt ? 1 : 0);
    word = WithBits(word, 14, 1, dm ? 1 : 0);
    return {word, tv1, tv2, {codes.b[0], codes.b[1], codes.b[2], codes.b[3]}, m1, m2, m3, dM};
}

// clang-format off
//    КТ3 ФРТ  Qг       Qтв        dM    dt    ТВ1      ТВ2      b4..b7        M1       M2       M3       dM
constexpr SchemeCombination kScheme1[] = {
    Row(1, 1,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(1, 3,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(2, 1,  kQgDmH3, kQtvQ12,   kYes, kYes, k03to04, k03to04, {2, 3, 1, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(2, 3,  kQgDmH3, kQtvQ12,   kYes, kYes, k03to04, k03to04, {2, 3, 1, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(3, 1,  kQgM3H3, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {2, 6, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M3"),
    Row(3, 3,  kQgM3H3, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {7, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M3"),
};

constexpr SchemeCombination kScheme2[] = {
    Row(0, 1,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(0, 3,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(1, 1,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(1, 3,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(3, 1,  kQgM3H3, kQtvQ12Qg, kYes, kYes, k03to04, k03to04, {2, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M1-M2"),
    Row(3, 3,  kQgM3H3, kQtvQ12Qg, kYes, kYes, k03to04, k03to04, {2, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M1-M2"),
};

constexpr SchemeCombination kScheme3[] = {
    Row(3, 1,  kQgM3H3, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {7, 3, 4, 0}, "M2+M3", "V2*p2", "V3*p3", "M3"),
    Row(3, 3,  kQgM3H3, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {7, 3, 4, 0}, "M2+M3", "V2*p2", "V3*p3", "M3"),
};

constexpr SchemeCombination kScheme4[] = {
    Row(1, 1,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 8, 0, 0}, "V1*p1", "V2*p2", "V3*p2", "(M1-M2)+M3"),
    Row(1, 3,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {5, 3, 0, 0}, "V1*p1", "V2*p2", "V3*p2", "(M1-M2)+M3"),
    Row(3, 1,  kQgNone, kQtvQ12,   kYes, kYes, k03to04, k03to04, {2, 8, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "(M1-M2)+M3"),
    Row(3, 3,  kQgNone, kQtvQ12,   kYes, kYes, k03to04, k03to04, {5, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "(M1-M2)+M3"),
};

constexpr SchemeCombination kScheme5[] = {
    Row(1, 1,  kQgM3H3, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {2, 6, 0, 0}, "V1*p1", "V2*p2", "V3*p2", "M3"),
    Row(1, 3,  kQgM3H3, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {7, 3, 0, 0}, "V1*p1", "V2*p2", "V3*p2", "M3"),
    Row(3, 1,  kQgM3H3, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {2, 6, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M3"),
    Row(3, 3,  kQgM3H3, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {7, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M3"),
};

constexpr SchemeCombination kScheme6[] = {
    Row(0, 0,  kQgNone, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {2, 2, 0, 0}, "V1*p1", "V2*p2", "нет",   "нет"),
    Row(0, 1,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(0, 2,  kQgNone, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {3, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "нет"),
    Row(0, 3,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(1, 0,  kQgNone, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {2, 2, 0, 0}, "V1*p1", "V2*p2", "нет",   "нет"),
    Row(1, 1,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(1, 2,  kQgNone, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {3, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "нет"),
    Row(1, 3,  kQgNone, kQtvQ12,   kYes, kYes, k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "M1-M2"),
    Row(3, 0,  kQgM3H3, kQtvQ12Qg, kNo,  kYes, k03to04, k03to04, {2, 2, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "нет"),
    Row(3, 1,  kQgM3H3, kQtvQ12Qg, kYes, kYes, k03to04, k03to04, {2, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M1-M2"),
    Row(3, 2,  kQgM3H3, kQtvQ12Qg, kNo,  kYes, k03to04, k03to04, {3, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "нет"),
    Row(3, 3,  kQgM3H3, kQtvQ12Qg, kYes, kYes, k03to04, k03to04, {2, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M1-M2"),
};

constexpr SchemeCombination kScheme7[] = {
    Row(0, 0,  kQgNone, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {2, 2, 0, 0}, "V1*p1", "нет",   "нет",   "нет"),
    Row(1, 0,  kQgNone, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {2, 2, 0, 0}, "V1*p1", "нет",   "нет",   "нет"),
    Row(3, 0,  kQgM3H3, kQtvQ12Qg, kNo,  kYes, k03to04, k03to04, {2, 2, 4, 0}, "V1*p1", "нет",   "V3*p3", "нет"),
};

constexpr SchemeCombination kScheme8[] = {
    Row(0, 2,  kQgNone, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {3, 3, 0, 0}, "нет",   "V2*p2", "нет",   "нет"),
    Row(1, 2,  kQgNone, kQtvQ12,   kNo,  kYes, k01to04, k02to04, {3, 3, 0, 0}, "нет",   "V2*p2", "нет",   "нет"),
    Row(3, 2,  kQgM3H3, kQtvQ12Qg, kNo,  kYes, k03to04, k03to04, {3, 3, 4, 0}, "нет",   "V2*p2", "V3*p3", "нет"),
};

constexpr SchemeCombination kScheme9[] = {
    Row(0, 4,  kQgNone, kQtvQ12,   kNo,  kNo,  k01to04, k02to04, {2, 0, 0, 0}, "V1*p1", "нет",   "нет",   "нет"),
    Row(1, 4,  kQgNone, kQtvQ12,   kNo,  kNo,  k01to04, k02to04, {2, 0, 0, 0}, "V1*p1", "нет",   "нет",   "нет"),
    Row(3, 4,  kQgM3H3, kQtvQ12Qg, kNo,  kNo,  k03to04, k03to04, {2, 0, 4, 0}, "V1*p1", "нет",   "V3*p3", "нет"),
};

constexpr SchemeCombination kScheme10[] = {
    Row(0, 5,  kQgNone, kQtvQ12,   kNo,  kNo,  k01to04, k02to04, {0, 3, 0, 0}, "нет",   "V2*p2", "нет",   "нет"),
    Row(1, 5,  kQgNone, kQtvQ12,   kNo,  kNo,  k01to04, k02to04, {0, 3, 0, 0}, "нет",   "V2*p2", "нет",   "нет"),
    Row(3, 5,  kQgM3H3, kQtvQ12Qg, kNo,  kNo,  k03to04, k03to04, {0, 3, 4, 0}, "нет",   "V2*p2", "V3*p3", "нет"),
};

constexpr SchemeCombination kScheme11[] = {
    Row(0, 6,  kQgNone, kQtvQ12,   kNo,  kNo,  k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "нет"),
    Row(1, 6,  kQgNone, kQtvQ12,   kNo,  kNo,  k01to04, k02to04, {2, 3, 0, 0}, "V1*p1", "V2*p2", "нет",   "нет"),
    Row(3, 6,  kQgM3H3, kQtvQ12Qg, kNo,  kNo,  k03to04, k03to04, {2, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "нет"),
};

constexpr SchemeCombination kScheme12[] = {
    Row(0, 11, kQgNone, kQtvNone,  kNo,  kNo,  k01to04, k01to04, {0, 0, 0, 0}, "нет",   "нет",   "нет",   "нет"),
    Row(1, 11, kQgNone, kQtvNone,  kNo,  kNo,  k01to04, k02to04, {0, 0, 0, 0}, "нет",   "нет",   "нет",   "нет"),
    Row(3, 11, kQgNone, kQtvNone,  kNo,  kNo,  k03to04, k03to04, {0, 0, 0, 0}, "нет",   "нет",   "нет",   "нет"),
};

constexpr SchemeCombination kScheme13[] = {
    Row(3, 7,  kQgNone, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {2, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "нет"),
    Row(3, 1,  kQgNone, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {2, 6, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M3"),
    Row(3, 3,  kQgNone, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {7, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M3"),
};

constexpr SchemeCombination kScheme14[] = {
    Row(3, 8,  kQgNone, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {2, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "нет"),
    Row(3, 9,  kQgNone, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {2, 6, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M3"),
    Row(3, 10, kQgNone, kQtvQ12,   kNo,  kYes, k03to04, k03to04, {7, 3, 4, 0}, "V1*p1", "V2*p2", "V3*p3", "M3"),
};
// clang-format on

// The pipes are bit masks of pipes 1, 2, 3 = 0x1, 0x2, 0x4.
constexpr std::array<SchemeEntry, kSchemeCount> kTable = {{
    //  group          t     P     V     rows
    {"ТВ не исп.", 0x0, 0x0, 0x0, {}},
    {"Открытая", 0x7, 0x7, 0x7, kScheme1},
    {"Открытая", 0x7, 0x7, 0x7, kScheme2},
    {"Открытая", 0x7, 0x7, 0x6, kScheme3},
    {"Открытая", 0x7, 0x7, 0x7, kScheme4},
    {"Закрытая", 0x7, 0x7, 0x7, kScheme5},
    {"Закрытая", 0x7, 0x7, 0x7, kScheme6},
    {"Закрытая", 0x7, 0x7, 0x5, kScheme7},
    {"Закрытая", 0x7, 0x7, 0x6, kScheme8},
    {"Тупик.ГВС", 0x5, 0x5, 0x5, kScheme9},
    {"Тупик.ГВС", 0x6, 0x6, 0x6, kScheme10},
    {"Тупик.ГВС", 0x7, 0x7, 0x7, kScheme11},
    {"Изм. V", 0x4, 0x7, 0x7, kScheme12},
    {"Источник", 0x7, 0x7, 0x7, kScheme13},
    {"Источник", 0x7, 0x7, 0x7, kScheme14},
}};

}  // namespace

bool SchemeCombination::AllowsModel(int model, int input) const
{
    const std::uint8_t mask = input == 0 ? modelsTv1 : modelsTv2;
    return (mask & ModelPermissionBit(model)) != 0;
}

const std::array<SchemeEntry, kSchemeCount>& SchemeTable()
{
    return kTable;
}

const SchemeEntry* SchemeAt(int scheme)
{
    return scheme >= 0 && scheme < kSchemeCount ? &kTable[scheme] : nullptr;
}

const SchemeCombination* CombinationAt(int scheme, int row)
{
    const SchemeEntry* entry = SchemeAt(scheme);
    if (!entry || row < 0 || row >= int(entry->rows.size()))
        return nullptr;
    return &entry->rows[row];
}

int FindCombination(int scheme, unsigned kt3, unsigned frt)
{
    const SchemeEntry* entry = SchemeAt(scheme);
    if (!entry)
        return -1;
    if (kt3 > 7 || frt > 15)
        return -1;
    std::uint16_t wanted = 0;
    wanted = WithBits(wanted, 0, 3, kt3);
    wanted = WithBits(wanted, 3, 4, frt);
    for (std::size_t row = 0; row < entry->rows.size(); ++row) {
        if ((entry->rows[row].word & 0x7F) == wanted)
            return int(row);
    }
    return -1;
}

bool SchemeOfferedFor(int scheme, int model, int input)
{
    if (scheme == 0)
        return true;
    return !CombinationListFor(scheme, model, input).empty();
}

std::vector<int> SchemeListFor(int model, int input)
{
    std::vector<int> schemes;
    for (int scheme = 0; scheme < kSchemeCount; ++scheme) {
        if (SchemeOfferedFor(scheme, model, input))
            schemes.push_back(scheme);
    }
    return schemes;
}

std::vector<int> CombinationListFor(int scheme, int model, int input)
{
    std::vector<int> rows;
    const SchemeEntry* entry = SchemeAt(scheme);
    if (!entry)
        return rows;
    for (std::size_t row = 0; row < entry->rows.size(); ++row) {
        if (entry->rows[row].AllowsModel(model, input))
            rows.push_back(int(row));
    }
    return rows;
}

bool SchemeComputesHeat(int scheme)
{
    const SchemeEntry* entry = SchemeAt(scheme);
    if (!entry)
        return false;
    for (const SchemeCombination& row : entry->rows) {
        if (row.Frt() < kNoSchemeFrt)
            return true;
    }
    return false;
}
