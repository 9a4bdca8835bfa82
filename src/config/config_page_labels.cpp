#include "config/config_page_labels.h"

namespace {

constexpr int kSetBase = 10;
constexpr int kInputsBase = 20;
constexpr int kIdsPerSet = 10;
constexpr int kIdsPerInput = 3;

bool SetInRange(int set)
{
    return set >= 0 && set < kDbCount;
}

bool InputInRange(int set, int input)
{
    return SetInRange(set) && input >= 0 && input < kInputCount;
}

// The first id of an input's three pages, -1 out of range.
int InputBase(int set, int input)
{
    return InputInRange(set, input) ? kInputsBase + kIdsPerSet * set + 1 + kIdsPerInput * input : -1;
}

const QString kError = QStringLiteral("error");

}  // namespace

int ConfigPageIds::SetNode(int set)
{
    return SetInRange(set) ? kSetBase + set : -1;
}

int ConfigPageIds::ThermalInputs(int set)
{
    return SetInRange(set) ? kInputsBase + kIdsPerSet * set : -1;
}

int ConfigPageIds::InputNode(int set, int input)
{
    return InputBase(set, input);
}

int ConfigPageIds::InputScheme(int set, int input)
{
    const int base = InputBase(set, input);
    return base < 0 ? -1 : base + 1;
}

int ConfigPageIds::InputPipes(int set, int input)
{
    const int base = InputBase(set, input);
    return base < 0 ? -1 : base + 2;
}

QString SetNodeLabel(const TunesRecord& tunes, int set)
{
    if (!SetInRange(set))
        return kError;
    const QString label = QStringLiteral("БД%1").arg(set + 1);
    return set == 1 && !tunes.Db2Used() ? label + QStringLiteral(" (не исп.)") : label;
}

QString InputNodeLabel(const TunesRecord& tunes, int set, int input)
{
    if (!InputInRange(set, input))
        return kError;
    const QString label = QStringLiteral("ТВ%1").arg(input + 1);
    const unsigned scheme = tunes.db[set].inputs[input].scheme;
    if ((set == 1 && !tunes.Db2Used()) || scheme == 0)
        return label + QStringLiteral(" (не исп.)");
    return label + QStringLiteral(" (СИ=%1)").arg(scheme);
}
