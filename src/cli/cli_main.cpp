#include "cli/cli_main.h"

#include "archives/trend_quantities.h"
#include "cli/cli_context.h"
#include "cli/cli_manual.h"
#include "cli/command_help.h"
#include "cli/command_table.h"
#include "cli/exit_status.h"
#include "cli/interrupt.h"
#include "cli/json_forms_help.h"
#include "cli/option_conflicts.h"
#include "cli/terminal_output.h"
#include "zt5_version.h"

CommandLineHelp CliHelp()
{
    CommandLineHelp help;
    help.program = QStringLiteral("zt5ctl");
    help.summary = QStringLiteral("работа с тепловычислителем ЗТ5 из командной строки");
    help.synopsis = QStringLiteral("[ПАРАМЕТРЫ] КОМАНДА [АРГУМЕНТЫ]");
    help.description = QStringLiteral(
        "Читает и записывает настройки прибора, проверяет файлы настроек и составляет отчет о них, читает "
        "архивы, журналы событий и страницы flash-памяти, устанавливает часы и подает служебные команды. "
        "Каждая операция с прибором идет через ту же очередь команд драйвера, что и в ЗТ5 Конфигураторе.\n\n"
        "В stdout выводится только запрошенный результат; сообщения программы идут в stderr, с -v туда же "
        "идут строки монитора обмена. На вопросы программы отвечают --yes или --no, без них вопрос "
        "завершает команду с ошибкой.");
    help.commands = CliCommandsHelp();
    for (HelpCommand& entry : help.commands) {
        const CliCommand* command = FindCliCommand(entry.name);
        entry.options = CommandCompletionOptions(*command);
        entry.values.push_back({QStringLiteral("format"), QString::fromUtf8(command->formats).split(u' ')});
    }
    HelpCommand helpCommand{QStringLiteral("help"),
                            QStringLiteral("[КОМАНДА]"),
                            QStringLiteral("эта справка или справка одной команды (то же, что КОМАНДА --help)"),
                            {},
                            false,
                            {},
                            {}};
    for (const CliCommand& command : CliCommands())
        helpCommand.words << QString::fromUtf8(command.name);
    help.commands.push_back(std::move(helpCommand));
    help.groups = CliOptionGroups();
    // Node names come from the work folder's node base, the one the line names if it does.
    for (HelpGroup& group : help.groups) {
        for (HelpOption& option : group.options) {
            if (option.name == QLatin1String("node"))
                option.valuesCommand = QStringLiteral("node list");
            if (option.name == QLatin1String("quantities")) {
                // The first name of the list; the rest are typed after its comma.
                option.kind = HelpValueKind::kChoice;
                for (const TrendQuantity& quantity : TrendQuantities())
                    option.choices << quantity.key;
            }
        }
    }
    help.completionContext = {QStringLiteral("workdir"), QStringLiteral("settings")};
    help.footer = ExitStatusHelp();
    help.outputTitle = QStringLiteral("ВЫВОД JSON");
    help.outputForms = JsonFormsHelp();
    help.seeAlso = {QStringLiteral("zt5-configurator(1)"), QStringLiteral("zt5-meter-sim(1)")};
    help.sections = CliManualSections();
    help.examples = CliExamples();
    help.files = SharedFilesHelp();
    help.environment = SharedEnvironmentHelp();
    return help;
}

QString CliHelpText()
{
    return RenderHelpText(CliHelp());
}

QString CliVersionText()
{
    return QStringLiteral("zt5ctl %1\n").arg(QLatin1String(ZT5_VERSION));
}

int RunCli(const QStringList& arguments)
{
    if (const std::optional<QString> document = GeneratedHelpDocument(arguments, CliHelp(),
                                                                      QLatin1String(ZT5_VERSION))) {
        PrintOut(*document);
        return kExitOk;
    }
    CliOptions options;
    const QString error = ParseCliOptions(arguments, options);
    if (!error.isEmpty())
        return UsageError(error);
    SetQuiet(options.quiet);
    const bool helpWord = options.command == QLatin1String("help");
    if (options.help || helpWord) {
        // "help COMMAND" and "COMMAND --help" give that command's part; alone, the whole help.
        const QString asked = helpWord ? options.arguments.value(0) : options.command;
        if (helpWord && options.arguments.size() > 1)
            return UsageError(QStringLiteral("help ждет одно имя команды"));
        if (asked.isEmpty()) {
            PrintOut(CliHelpText());
            return kExitOk;
        }
        const CliCommand* command = FindCliCommand(asked);
        if (!command)
            return UsageError(QStringLiteral("неизвестная команда %1").arg(asked));
        PrintOut(CommandHelpText(*command));
        return kExitOk;
    }
    if (options.version) {
        PrintOut(CliVersionText());
        return kExitOk;
    }
    if (options.command.isEmpty())
        return UsageError(QStringLiteral("не задана команда"));
    const CliCommand* command = FindCliCommand(options.command);
    if (!command)
        return UsageError(QStringLiteral("неизвестная команда %1").arg(options.command));
    if (const QString wrong = CheckCommandFormat(*command, options.format); !wrong.isEmpty())
        return UsageError(wrong);
    if (const QString conflict = OptionConflict(options); !conflict.isEmpty())
        return UsageError(conflict);
    if (options.outputIsFolder && !command->writesFolder)
        return UsageError(QStringLiteral("\"%1\" - папка; -o ждет имя файла").arg(options.output));
    InstallInterruptHandler();
    CliContext context(options);
    const int code = command->run(context);
    if (code != kExitOk)
        context.Host().ReleaseHeldMessages();
    return code;
}
