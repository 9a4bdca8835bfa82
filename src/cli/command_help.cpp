#include "cli/command_help.h"

#include "cli/cli_options.h"
#include "cli/json_forms_help.h"

#include <QRegularExpression>

namespace {

// The groups every command shares; the general help lists them.
bool IsSharedGroup(const QString& title)
{
    return title == QStringLiteral("Канал связи") || title == QStringLiteral("Программа");
}

bool NamesWord(const QString& text, const QString& word)
{
    const QRegularExpression pattern(QStringLiteral("(?<![\\w-])%1(?![\\w-])").arg(QRegularExpression::escape(word)));
    return pattern.match(text).hasMatch();
}

bool Takes(const CliCommand& command, const HelpOption& option)
{
    const QString usage = QString::fromUtf8(command.usage);
    if (option.name == QLatin1String("format"))
        return QLatin1String(command.formats) != QLatin1String("text") || NamesWord(usage, QStringLiteral("--format"));
    if (NamesWord(usage, QStringLiteral("--") + option.name))
        return true;
    if (option.shortName && NamesWord(usage, QStringLiteral("-%1").arg(QLatin1Char(option.shortName))))
        return true;
    return NamesWord(option.help, QString::fromUtf8(command.name));
}

// Its own options under one heading, in the order of the option table.
std::vector<HelpGroup> OwnGroups(const CliCommand& command)
{
    HelpGroup own{QStringLiteral("Параметры команды"), {}};
    for (const HelpGroup& group : CliOptionGroups()) {
        if (IsSharedGroup(group.title))
            continue;
        for (const HelpOption& option : group.options) {
            if (Takes(command, option))
                own.options.push_back(option);
        }
    }
    if (own.options.empty())
        return {};
    return {own};
}

}  // namespace

QStringList CommandOwnOptions(const CliCommand& command)
{
    CommandLineHelp help;
    help.groups = OwnGroups(command);
    return ListedOptions(help);
}

QStringList CommandCompletionOptions(const CliCommand& command)
{
    CommandLineHelp shared;
    for (const HelpGroup& group : CliOptionGroups()) {
        if (IsSharedGroup(group.title))
            shared.groups.push_back(group);
    }
    return ListedOptions(shared) + CommandOwnOptions(command);
}

QString CommandHelpText(const CliCommand& command)
{
    CommandLineHelp help;
    help.program = QStringLiteral("zt5ctl %1").arg(QLatin1String(command.name));
    help.summary = QString::fromUtf8(command.help);
    help.synopsis = QString::fromUtf8(command.usage);
    help.groups = OwnGroups(command);
    QStringList footer;
    const QString formats = QString::fromUtf8(command.formats).replace(u' ', QStringLiteral(", "));
    if (formats != QLatin1String("text"))
        footer << QStringLiteral("Вывод: --format %1.").arg(formats);
    const QString name = QString::fromUtf8(command.name);
    for (const auto& [form, text] : JsonFormsHelp()) {
        if (form == name || form.startsWith(name + u' '))
            footer << QStringLiteral("Вывод JSON (%1): %2").arg(form, text);
    }
    footer << QStringLiteral("Канал связи и общие параметры: zt5ctl --help.");
    help.footer = footer.join(u' ');
    return RenderHelpText(help);
}
