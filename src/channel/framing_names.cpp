#include "channel/framing_names.h"

#include "channel/channel_types.h"

namespace {
struct FramingName_ {
    const char* name;
    int framing;
};
constexpr FramingName_ kNames[] = {
    {"rtu", kFramingRtu},
    {"ascii", kFramingAscii},
    {"ppp", kFramingPpp},
    {"tcp", kFramingModbusTcp},
};
}  // namespace

int FramingFromName(const QString& name)
{
    for (const auto& entry : kNames) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.framing;
    }
    return -1;
}

QString FramingName(int framing)
{
    for (const auto& entry : kNames) {
        if (entry.framing == framing)
            return QString::fromLatin1(entry.name);
    }
    return QString::number(framing);
}
