#include "config/scheme_labels.h"

#include <array>

#include "config/scheme_table.h"

namespace {

const char* const kNone = "нет";

// Some of these write hх with a Cyrillic х; they are shown as the meter's papers have them.
constexpr std::array<const char*, kNoSchemeFrt> kQ12Labels = {
    "Q12=M1(h1-h2)",
    "Q12=M1(h1-h2)+dM(h2-hx)",
    "Q12=M2(h1-h2)",
    "Q12=M2(h1-h2)+dM(h1-hx)",
    "Q12=M1(h1-hх)",
    "Q12=M2(h2-hх)",
    "Q12=M1(h1-hх)+M2(h2-hх)",
    "Q12=(M1*h1)-(M2*h2)-(M3*hx)",
    "Q12=(M1*h1)-(M2*h2)-(M3*h3)",
    "Q12=M1(h1-h2)+dM(h2-h3)",
    "Q12=M2(h1-h2)+dM(h1-h3)",
};

constexpr std::array<const char*, kQgLabelNone> kQgLabels = {
    "Qг=dM(h3-hx)",
    "Qг=M3(h3-hx)",
    "Qг=dM(h2-hx)",
    "Qг=dM(h1-hx)",
};

// With the alternative labels rows of schemes 2, 4 and 6 (counted from 1) show dM(h2-hx) or dM(h1-hx).
struct AlternativeQg {
    int scheme;
    int row;
    unsigned index;
};

constexpr AlternativeQg kAlternativeQg[] = {
    {2, 1, 2}, {2, 3, 2}, {2, 2, 3}, {2, 4, 3}, {4, 1, 2}, {4, 3, 2},
    {4, 2, 3}, {4, 4, 3}, {6, 2, 2}, {6, 6, 2}, {6, 4, 3}, {6, 8, 3},
};

}  // namespace

QString Q12Label(unsigned frt)
{
    return QString::fromUtf8(frt < kQ12Labels.size() ? kQ12Labels[frt] : kNone);
}

unsigned QgLabelIndex(int scheme, int row, bool alternativeQg)
{
    const SchemeCombination* combination = CombinationAt(scheme, row);
    if (!combination)
        return kQgLabelNone;
    if (alternativeQg) {
        for (const AlternativeQg& entry : kAlternativeQg) {
            if (entry.scheme == scheme && entry.row == row + 1)
                return entry.index;
        }
    }
    return combination->QgIndex();
}

QString QgLabel(int scheme, int row, bool alternativeQg)
{
    const unsigned index = QgLabelIndex(scheme, row, alternativeQg);
    if (index >= kQgLabelNone)
        return QString::fromUtf8(kNone);
    const unsigned kt3 = CombinationAt(scheme, row)->Kt3();
    // Where pipe 3 carries the hot-water mass the label names M3 and the pipe it is heated against.
    if ((scheme == 1 && kt3 == 3) || scheme == 3 || (scheme == 5 && kt3 == 3))
        return QStringLiteral("Qг=M3(h3-hx)");
    if (scheme == 5 && kt3 <= 1)
        return QStringLiteral("Qг=M3(h2-hx)");
    return QString::fromUtf8(kQgLabels[index]);
}

QString QtvLabel(int scheme, int row)
{
    const SchemeCombination* combination = CombinationAt(scheme, row);
    if (!combination || combination->NoQtv())
        return QString::fromUtf8(kNone);
    return combination->QtvIndex() == 0 ? QStringLiteral("Qтв=Q12") : QStringLiteral("Qтв=Q12+Qг");
}

QStringList CombinationColumns()
{
    return {">>>", "КТ3", "ФРТ", "Q12", "Qг", "Qтв", "M1", "M2", "M3", "dM"};
}

QStringList CombinationRowTexts(int scheme, int row, bool alternativeQg)
{
    const SchemeCombination* combination = CombinationAt(scheme, row);
    if (!combination)
        return {};
    return {QString(),
            QString::number(combination->Kt3()),
            QString::number(combination->Frt()),
            Q12Label(combination->Frt()),
            QgLabel(scheme, row, alternativeQg),
            QtvLabel(scheme, row),
            QString::fromUtf8(combination->m1),
            QString::fromUtf8(combination->m2),
            QString::fromUtf8(combination->m3),
            QString::fromUtf8(combination->dM)};
}

QString SchemeGroupName(int scheme)
{
    const SchemeEntry* entry = SchemeAt(scheme);
    return entry ? QString::fromUtf8(entry->group) : QString();
}
