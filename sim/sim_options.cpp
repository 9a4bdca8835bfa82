#include "sim_options.h"

#include "sim_option_table.h"

QString ParseSimOptions(const QStringList& arguments, SimOptions& options, bool* wantsHelp)
{
    // Every word is an option; a value missing at the end of the line gets the option's own message.
    OptionGrammar<SimOptions> grammar;
    grammar.unknownOption = "неизвестный параметр: %1";
    grammar.missingValue = nullptr;
    options.showHelp = false;
    const QString error = ParseOptionWords(arguments, SimOptionRows(), grammar, options);
    *wantsHelp = options.showHelp;
    if (!error.isEmpty())
        return error;
    if (!*wantsHelp && !options.showVersion && options.endpoint == SimOptions::Endpoint::None
        && options.standLine.isEmpty())
        return QStringLiteral("не задан канал: --tcp, --udp, --pty, --modem-pty или --serial");
    if (options.standEcho && options.standLine.isEmpty())
        return QStringLiteral("--stand-echo ждет стенд: --stand pty|PATH");
    if (options.modem.enabled && options.endpoint != SimOptions::Endpoint::Pty)
        return QStringLiteral("модем работает только на псевдотерминале: --modem-pty без --tcp, --udp и --serial");
    return {};
}
