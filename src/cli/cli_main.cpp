#include "cli/cli_main.h"

#include "cli/cli_context.h"
#include "cli/command_table.h"
#include "cli/interrupt.h"
#include "cli/terminal_output.h"

QString CliHelpText()
{
    return QStringLiteral("zt5ctl - работа с тепловычислителем ЗТ5 из командной строки\n\n"
                          "Запуск: zt5ctl [ПАРАМЕТРЫ] КОМАНДА [АРГУМЕНТЫ]\n\n")
           + CommandsHelpText() + OptionsHelpText()
           + QStringLiteral("\nКоды завершения: 0 - успешно, 1 - прибор или проверка отказали (или нет связи), "
                            "2 - ошибка в командной строке.\n");
}

QString CliVersionText()
{
    return QStringLiteral("zt5ctl %1\n").arg(QLatin1String(ZT5_VERSION));
}

int RunCli(const QStringList& arguments)
{
    CliOptions options;
    const QString error = ParseCliOptions(arguments, options);
    if (!error.isEmpty())
        return UsageError(error);
    if (options.help) {
        PrintOut(CliHelpText());
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
    InstallInterruptHandler();
    CliContext context(options);
    return command->run(context);
}
