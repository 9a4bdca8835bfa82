#include "app/configurator_help.h"

namespace {

HelpOption Option(const char* name, const char* valueName, const char* help, HelpValueKind kind = HelpValueKind::kNone,
                  char shortName = 0)
{
    return {shortName, QString::fromUtf8(name), QString::fromUtf8(valueName), QString::fromUtf8(help), kind, {}, {}};
}

}  // namespace

CommandLineHelp ConfiguratorHelp()
{
    CommandLineHelp help;
    help.program = QStringLiteral("zt5-configurator");
    help.summary = QStringLiteral("настройка и чтение тепловычислителей ЗТ5");
    help.synopsis = QStringLiteral("[ПАРАМЕТРЫ] [ФАЙЛ.zt5]");
    help.description = QStringLiteral(
        "ЗТ5 Конфигуратор связывается с прибором по последовательному порту, через модем, по TCP/UDP или USB, "
        "читает и записывает его настройки (с проверкой перед записью), сохраняет их в файлы, читает архивы, "
        "журналы событий и текущие значения, выгружает архивы в базу данных, ведет базу узлов учета и "
        "показывает каждый байт обмена.\n\n"
        "ФАЙЛ.zt5 открывается на странице \"Конфигурирование\" так же, как командой \"Открыть настройки из "
        "файла...\". С --demo программа запускает имитатор прибора и предлагает его как узел \"Демо-прибор\": "
        "\"Установить связь\", затем OK.");
    help.groups = {
        {QStringLiteral("Параметры"),
         {Option("demo", "", "запустить имитатор прибора и выбрать узел \"Демо-прибор\""),
          Option("settings", "ФАЙЛ", "файл настроек программы вместо settings.ini", HelpValueKind::kFile),
          Option("workdir", "ПАПКА", "рабочая папка (база узлов, база данных архивов); создается, если ее нет",
                 HelpValueKind::kFolder),
          Option("quit-after-show", "", "вывести время от запуска до показа главного окна (мс) и завершиться"),
          Option("version", "", "версия программы"), Option("help", "", "эта справка", HelpValueKind::kNone, 'h')}}};
    help.footer = QStringLiteral("Коды завершения: 0 - окно закрыто, 2 - ошибка в командной строке.");
    help.seeAlso = {QStringLiteral("zt5ctl(1)"), QStringLiteral("zt5-meter-sim(1)")};
    help.files = SharedFilesHelp();
    help.environment = SharedEnvironmentHelp();
    return help;
}
