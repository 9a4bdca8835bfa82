#include "cli/option_conflicts.h"

#include "cli/connection_setup.h"

namespace {

QString Both(const char* one, const char* other, const char* why)
{
    return QStringLiteral("%1 и %2 вместе не задаются: %3")
        .arg(QLatin1String(one), QLatin1String(other), QString::fromUtf8(why));
}

}  // namespace

QString OptionConflict(const CliOptions& options)
{
    // A node's own fields are set from the channel options, several at once (node add, node set).
    if (options.command != QLatin1String("node")) {
        if (const QString channel = ChannelConflict(ChannelOptionsGiven(options)); !channel.isEmpty())
            return channel;
    }
    const bool period = !options.from.isEmpty() || !options.to.isEmpty();
    const char* bound = options.from.isEmpty() ? "--to" : "--from";
    if (!options.date.isEmpty() && period)
        return Both("--date", bound, "записи с даты или период");
    if (!options.month.isEmpty() && period)
        return Both("--month", bound, "месяц или период");
    return {};
}
