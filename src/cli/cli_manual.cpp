#include "cli/cli_manual.h"

#include "cli/command_table.h"

#include <QStringList>

namespace {

QString FormatsText()
{
    QStringList lines;
    for (const CliCommand& command : CliCommands()) {
        const QString formats = QString::fromUtf8(command.formats).replace(u' ', QStringLiteral(", "));
        if (formats != QLatin1String("text"))
            lines << QStringLiteral("%1: %2").arg(QLatin1String(command.name), formats);
    }
    return QStringLiteral(
               "Вид вывода выбирает --format; без него - text, таблица или строки для человека. Команды, "
               "не названные ниже, выводят только text.\n\n%1.\n\n"
               "csv - строки через точку с запятой с заголовком, десятичный разделитель по --decimal-separator; "
               "json - см. ВЫВОД JSON; html, pdf и xlsx - файлы, обычно в -o.")
        .arg(lines.join(QStringLiteral("; ")));
}

}  // namespace

std::vector<std::pair<QString, QString>> CliManualSections()
{
    return {
        {QStringLiteral("ФОРМАТЫ ВЫВОДА"), FormatsText()},
        {QStringLiteral("СИГНАЛЫ"),
         QStringLiteral(
             "SIGINT (Ctrl+C) останавливает команду после текущего обмена с прибором; записанное остается, код "
             "завершения 130. SIGTERM - то же, код 143.\n\n"
             "current --repeat и watch работают до сигнала: остановленные SIGINT или SIGTERM, они завершаются с "
             "кодом 0.\n\n"
             "SIGPIPE - читатель stdout закрыл канал (zt5ctl ... | head): программа завершается тихо, без "
             "сообщения об ошибке.")},
    };
}

std::vector<std::pair<QString, QString>> CliExamples()
{
    const auto example = [](const char* line, const char* text) {
        return std::pair{QString::fromUtf8(line), QString::fromUtf8(text)};
    };
    return {
        example("zt5ctl --tcp 192.168.1.50:502 info", "Версия, модель и заводской номер прибора в сети."),
        example("zt5ctl --tcp [::1]:5020 --format json info", "То же по адресу IPv6, объектом JSON."),
        example("zt5ctl --serial /dev/ttyUSB0 read-config -o meter.zt5",
                "Настройки прибора на последовательном порту в файл."),
        example("zt5ctl check meter.zt5 && zt5ctl --node Котельная --yes write-config meter.zt5",
                "Проверить файл настроек и записать его в прибор узла учета из базы узлов."),
        example("zt5ctl --node Котельная archive day --from 2026-01-01 --to 2026-01-31 --format csv -o jan.csv",
                "Суточные записи за январь в CSV: из базы данных, недостающие - с прибора."),
        example("zt5ctl --demo current --repeat 10", "Текущие значения демо-прибора каждые 10 секунд до Ctrl+C."),
        example("zt5ctl -q collect --database sqlite:archive.sqlite",
                "Архивы всех приборов базы узлов в базу SQLite, без строк хода работы."),
        example("zt5ctl help archive", "Справка одной команды: запуск, ее параметры, вывод JSON."),
    };
}
