#include "cli/command_table.h"

#include "cli/commands_archive.h"
#include "cli/commands_calibration.h"
#include "cli/commands_collect.h"
#include "cli/commands_config.h"
#include "cli/commands_database.h"
#include "cli/commands_device.h"
#include "cli/commands_nodes.h"
#include "cli/commands_service_data.h"
#include "cli/commands_statement.h"
#include "cli/commands_watch.h"

namespace {

const CliCommand kCommands[] = {
    {"info", "", "версия, модель, заводской номер и уровень ПО прибора", RunInfo, nullptr, false, "text json"},
    {"read-config", "-o ФАЙЛ.zt5", "прочитать настройки прибора в файл настроек", RunReadConfig},
    {"write-config", "ФАЙЛ.zt5", "проверить файл настроек и записать его в прибор", RunWriteConfig, nullptr, true,
     "text json"},
    {"check", "ФАЙЛ.zt5", "проверить файл настроек (без прибора)", RunCheck, nullptr, true, "text json"},
    {"report", "ФАЙЛ.zt5 [-o ОТЧЕТ.xls]", "отчет о настройках файла (без прибора)", RunReport, nullptr, true},
    {"set-clock", "", "установить часы прибора по компьютеру (архив сбрасывается: нужен --yes)", RunSetClock},
    {"service", "КОД [ЗНАЧЕНИЕ]", "служебная команда; для кодов 7 и 8 ЗНАЧЕНИЕ - пароль", RunService},
    {"maker", "read | write --maker-id N --serial-number N --model М", "данные производителя", RunMaker, "read write",
     false, "text json"},
    {"service-centre", "read | write --serial-number N [--battery Т] [--variant И]", "данные сервис-центра",
     RunServiceCentre, "read write", false, "text json"},
    {"calibrate", "t|p --stand ПУТЬ",
     "автоматическая калибровка температур (t) или давлений (p) по эталонному стенду РКМ8", RunCalibrate, "t p"},
    {"descriptors", "", "информация об архивах", RunDescriptors, nullptr, false, "text json"},
    {"archive",
     "hour|day|month|totals --date ДАТА [--count N] [--format text|csv|json] | hour|day|month --from ДАТА "
     "--to ДАТА [--quantities СПИСОК] [--format csv|html] [--decimal-separator comma|point] [-o ФАЙЛ]",
     "записи архива с даты, N записей подряд; или период: из базы, недостающие с прибора", RunArchive,
     "hour day month totals", false, "text csv json html"},
    {"statement",
     "day|hour (--month ГГГГ-ММ | --from ДАТА --to ДАТА) [--input 1|2] [--format pdf|xlsx|csv|html] "
     "[--decimal-separator comma|point] -o ФАЙЛ; с --database: --serial N или --all -o ПАПКА",
     "ведомость учета параметров теплопотребления за период: из базы, недостающие записи с прибора; "
     "код 1 - есть строки \"нет данных\" (их даты в stderr)",
     RunStatement, "day hour", false, "text pdf xlsx csv html", true},
    {"current", "[--totals] [--repeat СЕК] [--format text|json]", "текущие значения или текущие итоги", RunCurrent,
     nullptr, false, "text json"},
    {"events", "db|admin|diag [--from N] [--count N]", "журнал изменений БД, админ. событий или диагностики", RunEvents,
     "db admin diag", false, "text json"},
    {"flash", "СТРАНИЦА", "страница flash-памяти, шестнадцатеричный дамп", RunFlash},
    {"export-db", "[--database sqlite:ФАЙЛ|postgresql://...]",
     "весь архив в базу данных (по умолчанию - из настроек, иначе db/Data.sqlite рабочей папки)", RunExportDb, nullptr,
     false, "text json"},
    {"collect", "[--node ИМЯ ...] [--kind direct|modem|ip] [--jobs N] [--database ...] [--format text|json]",
     "архивы всех приборов базы узлов в базу данных: каждая запись прибора, которой в базе нет; линии "
     "опрашиваются одновременно",
     RunCollect, nullptr, false, "text json"},
    {"node",
     "list | show ИМЯ | add ИМЯ | set ИМЯ | remove ИМЯ [--kind direct|modem|ip] [--tcp IP:ПОРТ] [--serial ПУТЬ] "
     "[--phone Н] [--address N] [--rename ИМЯ] [--location ТЕКСТ] [--note ТЕКСТ] [--serial-number N]",
     "база узлов рабочей папки: список, свойства, новый узел, изменение, удаление; с теми же проверками, что "
     "и окно \"Свойства\" узла; параметры канала связи задают те же поля узла",
     RunNode, "list show add set remove", false, "text json"},
    {"watch", "[--node ИМЯ ...] [--kind ВИД] [--interval СЕК] [--jobs N] [--mqtt URL] [--http АДРЕС:ПОРТ] [--once]",
     "текущие значения и итоги приборов базы узлов каждые --interval секунд: в MQTT (с обнаружением Home "
     "Assistant) и на странице /metrics для Prometheus; до SIGTERM или Ctrl+C",
     RunWatch, nullptr, false, "text"},
};

}  // namespace

std::span<const CliCommand> CliCommands()
{
    return kCommands;
}

bool CommandAsksAboutTunesChecksum(const QString& name)
{
    // read-config decides itself: it refuses a copy with a false checksum unless asked for one as read.
    static const char* const kUsers[] = {"write-config", "set-clock",      "service",
                                         "maker",        "service-centre", "calibrate"};
    for (const char* user : kUsers) {
        if (name == QLatin1String(user))
            return true;
    }
    return false;
}

const CliCommand* FindCliCommand(const QString& name)
{
    for (const CliCommand& command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QString CheckCommandFormat(const CliCommand& command, const QString& format)
{
    const QStringList formats = QString::fromUtf8(command.formats).split(QLatin1Char(' '));
    if (formats.contains(format))
        return {};
    return QStringLiteral("%1 не выводит --format %2 (можно: %3)")
        .arg(QLatin1String(command.name), format, formats.join(QStringLiteral(", ")));
}

std::vector<HelpCommand> CliCommandsHelp()
{
    std::vector<HelpCommand> commands;
    for (const CliCommand& command : kCommands) {
        HelpCommand help{QString::fromUtf8(command.name),
                         QString::fromUtf8(command.usage),
                         QString::fromUtf8(command.help),
                         {},
                         command.takesFile,
                         {},
                         {}};
        if (command.words)
            help.words = QString::fromUtf8(command.words).split(QLatin1Char(' '));
        commands.push_back(std::move(help));
    }
    return commands;
}
