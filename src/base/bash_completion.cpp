#include "base/bash_completion.h"

namespace {

// A word list for compgen -W, single-quoted for the shell.
QString WordList(const QStringList& words)
{
    QStringList quoted;
    for (const QString& word : words)
        quoted << QString(word).replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted.join(QLatin1Char(' ')) + QLatin1Char('\'');
}

QStringList Spellings(const HelpOption& option)
{
    QStringList names;
    if (option.shortName)
        names << QStringLiteral("-%1").arg(QLatin1Char(option.shortName));
    if (!option.name.isEmpty())
        names << QStringLiteral("--") + option.name;
    return names;
}

QString Reply(const QString& compgenArguments)
{
    return QStringLiteral("mapfile -t COMPREPLY < <(compgen %1 -- \"$cur\")").arg(compgenArguments);
}

// Paths: shown as file names (a trailing slash on folders). compopt fails outside a completion, so
// its failure is ignored.
QString PathReply(const char* compgenFlag)
{
    return Reply(QLatin1String(compgenFlag)) + QStringLiteral("; compopt -o filenames 2>/dev/null || :");
}

// The values a command lists ("node list"), the line's context options passed on; each is quoted for
// the line, so a name with blanks stays one word.
QString CommandValuesReply(const CommandLineHelp& help, const HelpOption& option)
{
    QString context = QStringLiteral("local context=() k\n");
    context += QStringLiteral("        for (( k = 1; k < cword; k++ )); do\n            case ${words[k]} in\n");
    if (!help.completionContext.isEmpty()) {
        QStringList names;
        for (const QString& name : help.completionContext)
            names << QStringLiteral("--") + name;
        context += QStringLiteral("                %1) context+=(\"${words[k]}\" \"${words[k+1]}\") ;;\n")
                       .arg(names.join(u'|'));
    }
    context += QStringLiteral(
                   "            esac\n        done\n"
                   "        local value rest\n"
                   "        while IFS=$'\\t' read -r value rest; do\n"
                   "            [[ $value == \"$cur\"* ]] && COMPREPLY+=(\"${value// /\\\\ }\")\n"
                   "        done < <(\"${words[0]}\" \"${context[@]}\" %1 2>/dev/null)")
                   .arg(option.valuesCommand);
    return context;
}

QString ChoiceReply(const CommandLineHelp& help, const HelpOption& option)
{
    QString arms;
    for (const HelpCommand& command : help.commands) {
        for (const auto& [name, values] : command.values) {
            if (name == option.name)
                arms += QStringLiteral("            %1) %2 ;;\n")
                            .arg(command.name, Reply(QStringLiteral("-W ") + WordList(values)));
        }
    }
    const QString all = Reply(QStringLiteral("-W ") + WordList(option.choices));
    if (arms.isEmpty())
        return all;
    return QStringLiteral("case $command in\n%1            *) %2 ;;\n        esac").arg(arms, all);
}

// The case arms that complete the value after an option.
QString ValueArms(const CommandLineHelp& help)
{
    QString arms;
    for (const HelpGroup& group : help.groups) {
        for (const HelpOption& option : group.options) {
            if (option.valueName.isEmpty())
                continue;
            QString action;
            switch (option.kind) {
                case HelpValueKind::kFile:
                    action = PathReply("-f");
                    break;
                case HelpValueKind::kFolder:
                    action = PathReply("-d");
                    break;
                case HelpValueKind::kChoice:
                    action = ChoiceReply(help, option);
                    break;
                default:
                    // A free value: nothing to offer, unless the program lists the values.
                    action = option.valuesCommand.isEmpty() ? QStringLiteral(":") : CommandValuesReply(help, option);
                    break;
            }
            arms += QStringLiteral("        %1) %2; return ;;\n").arg(Spellings(option).join(QLatin1Char('|')), action);
        }
    }
    return arms;
}

// The options offered after "-": those of the command being typed, or all of them.
QString OptionsReply(const CommandLineHelp& help)
{
    const QString all = Reply(QStringLiteral("-W ") + WordList(ListedOptions(help)));
    QString arms;
    for (const HelpCommand& command : help.commands) {
        if (!command.options.isEmpty())
            arms += QStringLiteral("            %1) %2 ;;\n")
                        .arg(command.name, Reply(QStringLiteral("-W ") + WordList(command.options)));
    }
    if (arms.isEmpty())
        return all;
    return QStringLiteral("case $command in\n%1            *) %2 ;;\n        esac").arg(arms, all);
}

// The options that take a value, as a case pattern: their value is not the command word.
QString ValueOptionsPattern(const CommandLineHelp& help)
{
    QStringList names;
    for (const HelpGroup& group : help.groups) {
        for (const HelpOption& option : group.options) {
            if (!option.valueName.isEmpty())
                names << Spellings(option);
        }
    }
    return names.join(QLatin1Char('|'));
}

// Finds the command word before the current one; `i` is left at it.
QString CommandSearch(const CommandLineHelp& help)
{
    const QString valueOptions = ValueOptionsPattern(help);
    QString part = QStringLiteral(
        "    local i word command=\n"
        "    for (( i = 1; i < cword; i++ )); do\n"
        "        word=${words[i]}\n"
        "        case $word in\n");
    // "--format=json" reaches here as three words: the option, "=", the value.
    if (!valueOptions.isEmpty())
        part += QStringLiteral("            %1) [[ ${words[i+1]} == = ]] && (( i++ )); (( i++ )) ;;\n")
                    .arg(valueOptions);
    part += QStringLiteral(
        "            -*) ;;\n"
        "            *) command=$word; break ;;\n"
        "        esac\n"
        "    done\n");
    return part;
}

QString CommandPart(const CommandLineHelp& help)
{
    QStringList names;
    QString arms;
    for (const HelpCommand& command : help.commands) {
        names << command.name;
        if (!command.words.isEmpty())
            arms += QStringLiteral("        %1) (( i + 1 == cword )) && %2 ;;\n")
                        .arg(command.name, Reply(QStringLiteral("-W ") + WordList(command.words)));
        else if (command.takesFile)
            arms += QStringLiteral("        %1) %2 ;;\n").arg(command.name, PathReply("-f"));
    }
    return QStringLiteral(
               "    if [[ -z $command ]]; then\n"
               "        %1\n"
               "        return\n"
               "    fi\n"
               "    case $command in\n%2"
               "    esac\n")
        .arg(Reply(QStringLiteral("-W ") + WordList(names)), arms);
}

// bash splits the line at the characters of COMP_WORDBREAKS, ":" among them, so "--tcp 127.0.0.1:502"
// arrives as three words. The words are joined again where the line has no blank between them, and the
// replies lose what bash keeps of the current word before its last ":".
const char* const kWordsOfLine =
    "    local words=() cword=0 i pos=0 lead word\n"
    "    for (( i = 0; i < ${#COMP_WORDS[@]}; i++ )); do\n"
    "        word=${COMP_WORDS[i]}\n"
    "        lead=${COMP_LINE:pos}\n"
    "        lead=${lead%%[![:space:]]*}\n"
    "        (( pos += ${#lead} ))\n"
    "        if (( i > 0 )) && [[ -z $lead && ( $word == :* || ${words[-1]} == *: ) ]]; then\n"
    "            words[-1]+=$word\n"
    "        else\n"
    "            words+=(\"$word\")\n"
    "        fi\n"
    "        (( pos += ${#word} ))\n"
    "        (( i == COMP_CWORD )) && cword=$(( ${#words[@]} - 1 ))\n"
    "    done\n"
    "    local cur=${words[cword]} prev=\n"
    "    (( cword > 0 )) && prev=${words[cword-1]}\n"
    // "--format=" and "--format=js": the value after "=" belongs to the option before it.
    "    if [[ $cur == = ]]; then\n"
    "        cur=\n"
    "    elif [[ $prev == = ]] && (( cword > 1 )); then\n"
    "        prev=${words[cword-2]}\n"
    "    fi\n";

}  // namespace

QString RenderBashCompletion(const CommandLineHelp& help)
{
    const QString function = QStringLiteral("_") + QString(help.program).replace(QLatin1Char('-'), QLatin1Char('_'));
    const bool commands = !help.commands.empty();
    QString script = QStringLiteral(
                         "# bash completion for %1; generated by %1 --help-bash-completion.\n\n"
                         "%2_replies()\n{\n")
                         .arg(help.program, function);
    script += commands ? CommandSearch(help) : QStringLiteral("    local command=\n");
    script += QStringLiteral(
                  "    case $prev in\n%1"
                  "    esac\n"
                  "    if [[ $cur == -* ]]; then\n"
                  "        %2\n"
                  "        return\n"
                  "    fi\n")
                  .arg(ValueArms(help), OptionsReply(help));
    if (commands)
        script += CommandPart(help);
    script += QStringLiteral("}\n\n%1()\n{\n").arg(function) + QString::fromLatin1(kWordsOfLine)
        + QStringLiteral(
              "    COMPREPLY=()\n"
              "    %1_replies\n"
              "    if [[ $cur == *:* ]]; then\n"
              "        local kept=${cur%:*}:\n"
              "        COMPREPLY=(\"${COMPREPLY[@]#\"$kept\"}\")\n"
              "    fi\n"
              "}\ncomplete -F %1 %2\n")
              .arg(function, help.program);
    return script;
}
