#pragma once
// The rows of the page "Тепловые вводы": one per input of a parameter set, labelled as the page tree
// labels the input.

#include <QString>

#include "config/tunes_record.h"

// "ТВ%d (СИ=%d)" for an input with a scheme, "ТВ%d (не исп.)" for one without, and for every input of
// БД2 while БД2 is not in use; "error" for a set or input out of range.
QString WiPageInputLabel(const TunesRecord& tunes, int set, int input);
