#include "sim_help.h"

#include "sim_option_table.h"

CommandLineHelp SimHelp()
{
    CommandLineHelp help;
    help.program = QStringLiteral("zt5-meter-sim");
    help.summary = QStringLiteral("имитатор теплосчетчика ЗТ5");
    help.synopsis = QStringLiteral("КАНАЛ [ПАРАМЕТРЫ]");
    help.description = QStringLiteral(
        "Отвечает на запросы Modbus (функции 3, 16 и 0x48) как прибор ЗТ5: настройки, часы, данные "
        "производителя и сервис-центра, архивы, журналы событий и страницы flash. Первая строка вывода "
        "говорит, где он слушает: путь псевдотерминала или HOST:PORT с занятым портом.\n\n"
        "С --modem-pty прибор стоит за имитатором модема Hayes (команды AT). Сигнал SIGUSR1 обрывает связь "
        "(NO CARRIER); SIGINT и SIGTERM завершают работу.");
    help.groups = HelpGroupsOf(SimOptionRows());
    help.footer = QStringLiteral(
        "Коды завершения: 0 - работа завершена сигналом, 1 - канал не открылся, "
        "2 - ошибка в командной строке.");
    help.seeAlso = {QStringLiteral("zt5ctl(1)")};
    return help;
}

QString SimHelpText()
{
    return RenderHelpText(SimHelp());
}
