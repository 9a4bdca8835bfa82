#include "cli/command_table.h"

#include "cli/commands_archive.h"
#include "cli/commands_calibration.h"
#include "cli/commands_collect.h"
#include "cli/commands_config.h"
#include "cli/commands_database.h"
#include "cli/commands_device.h"
#include "cli/commands_service_data.h"
#include "cli/commands_watch.h"

namespace {

const CliCommand kCommands[] = {
    {"info", "", "версия, модель, заводской номер и уровень ПО прибора", RunInfo},
    {"read-config", "-o ФАЙЛ.zt5", "прочитать настройки прибора в файл настроек", RunReadConfig},
    {"write-config", "ФАЙЛ.zt5", "проверить файл настроек и записать его в прибор", RunWriteConfig, nullptr, true},
    {"check", "ФАЙЛ.zt5", "проверить файл настроек (без прибора)", RunCheck, nullptr, true},
    {"report", "ФАЙЛ.zt5 [-o ОТЧЕТ.xls]", "отчет о настройках файла (без прибора)", RunReport, nullptr, true},
    {"set-clock", "", "установить часы прибора по компьютеру (архив сбрасывается: нужен --yes)", RunSetClock},
    {"service", "КОД [ЗНАЧЕНИЕ]", "служебная команда; для кодов 7 и 8 ЗНАЧЕНИЕ - пароль", RunService},
    {"maker", "read | write --maker-id N --serial-number N --model М", "данные производителя", RunMaker, "read write"},
    {"service-centre", "read | write --serial-number N [--battery Т] [--variant И]", "данные сервис-центра",
     RunServiceCentre, "read write"},
    {"calibrate", "t|p --stand ПУТЬ",
     "автоматическая калибровка температур (t) или давлений (p) по эталонному стенду РКМ8", RunCalibrate, "t p"},
    {"descriptors", "", "информация об архивах", RunDescriptors},
    {"archive",
     "hour|day|month|totals --date ДАТА [--count N] [--format text|csv|json] | hour|day|month --from ДАТА "
     "--to ДАТА [--quantities СПИСОК] [--format csv|html] [--decimal-separator comma|point] [-o ФАЙЛ]",
     "записи архива с даты, N записей подряд; или период: из базы, недостающие с прибора", RunArchive,
     "hour day month totals"},
    {"current", "[--totals] [--repeat СЕК]", "текущие значения или текущие итоги", RunCurrent},
    {"events", "db|admin|diag [--from N] [--count N]", "журнал изменений БД, админ. событий или диагностики", RunEvents,
     "db admin diag"},
    {"flash", "СТРАНИЦА", "страница flash-памяти, шестнадцатеричный дамп", RunFlash},
    {"export-db", "[--database sqlite:ФАЙЛ|postgresql://...]",
     "весь архив в базу данных (по умолчанию - из настроек, иначе db/Data.sqlite рабочей папки)", RunExportDb},
    {"collect", "[--node ИМЯ ...] [--kind direct|modem|ip] [--jobs N] [--database ...] [--format text|json]",
     "архивы всех приборов базы узлов в базу данных: каждая запись прибора, которой в базе нет; линии "
     "опрашиваются одновременно",
     RunCollect},
    {"watch", "[--node ИМЯ ...] [--kind ВИД] [--interval СЕК] [--jobs N] [--mqtt URL] [--http АДРЕС:ПОРТ] [--once]",
     "текущие значения и итоги приборов базы узлов каждые --interval секунд: в MQTT (с обнаружением Home "
     "Assistant) и на странице /metrics для Prometheus; до SIGTERM или Ctrl+C",
     RunWatch},
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

std::vector<HelpCommand> CliCommandsHelp()
{
    std::vector<HelpCommand> commands;
    for (const CliCommand& command : kCommands) {
        HelpCommand help{QString::fromUtf8(command.name),
                         QString::fromUtf8(command.usage),
                         QString::fromUtf8(command.help),
                         {},
                         command.takesFile};
        if (command.words)
            help.words = QString::fromUtf8(command.words).split(QLatin1Char(' '));
        commands.push_back(std::move(help));
    }
    return commands;
}
