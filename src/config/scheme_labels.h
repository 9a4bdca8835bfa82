#pragma once
// The heat-formula labels of a scheme combination (Q12, Qг, Qтв) and the texts of the combination list.

#include <QString>
#include <QStringList>

// The Q12 label of a heat formula; "нет" from ФРТ 11 up.
QString Q12Label(unsigned frt);

// The Qг label index of a row (from 0) of a scheme, with the meter's alternative labels for schemes 2, 4
// and 6 when `alternativeQg` (bit 0 of the identity flags) is set. 4 and above: no Qг.
unsigned QgLabelIndex(int scheme, int row, bool alternativeQg);
QString QgLabel(int scheme, int row, bool alternativeQg);
QString QtvLabel(int scheme, int row);

// Column heads of the combination list: ">>>", "КТ3", "ФРТ", "Q12", "Qг", "Qтв", "M1", "M2", "M3", "dM".
QStringList CombinationColumns();
// The cells of one row of the combination list, the first (the marker column) blank.
QStringList CombinationRowTexts(int scheme, int row, bool alternativeQg);

// The group name shown with a scheme number ("Открытая", ...); empty outside 0..14.
QString SchemeGroupName(int scheme);
