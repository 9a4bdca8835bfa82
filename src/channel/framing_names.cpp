#include "channel/framing_names.h"

#include "base/value_text.h"
#include "channel/channel_types.h"

namespace {
constexpr ValueText kNames[] = {
    {kFramingRtu, "rtu"},
    {kFramingAscii, "ascii"},
    {kFramingPpp, "ppp"},
    {kFramingModbusTcp, "tcp"},
};
}  // namespace

int FramingFromName(const QString& name)
{
    for (const auto& entry : kNames) {
        if (name.compare(QLatin1String(entry.text), Qt::CaseInsensitive) == 0)
            return int(entry.value);
    }
    return -1;
}

QString FramingName(int framing)
{
    return TextOf(kNames, unsigned(framing), QString::number(framing));
}
