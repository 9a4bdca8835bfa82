#include "config/wi_page_input_labels.h"

QString WiPageInputLabel(const TunesRecord& tunes, int set, int input)
{
    if (set < 0 || set >= kDbCount || input < 0 || input >= kInputCount)
        return QStringLiteral("error");
    const int scheme = tunes.db[set].inputs[input].scheme;
    const bool setUsed = set == 0 || tunes.Db2Used();
    if (!setUsed || scheme == 0)
        return QStringLiteral("ТВ%1 (не исп.)").arg(input + 1);
    return QStringLiteral("ТВ%1 (СИ=%2)").arg(input + 1).arg(scheme);
}
