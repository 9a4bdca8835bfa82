#include "cli/cli_options.h"

#include "archives/range_table.h"
#include "base/command_line_options.h"
#include "base/host_port.h"
#include "base/number_option.h"
#include "meter/archive_date_text.h"

#include "channel/channel_types.h"
#include "channel/framing_names.h"

#include <QFileInfo>

#include <array>
#include <limits>

namespace {

// A number in `minimum..maximum`, or the error naming the option.
QString SetNumber(std::optional<int>& target, const QString& text, int minimum, int maximum, const char* option)
{
    const std::optional<qint64> value = ParseNumberInRange(text, minimum, maximum);
    if (!value)
        return NumberRangeMessage(option, minimum, maximum);
    target = int(*value);
    return {};
}

// A date of the archives, or the error naming the option and what is wrong with the date.
QString SetDate(QString& target, const QString& text, ArchiveDateForm form, const char* option)
{
    if (const QString wrong = ArchiveDateTextProblem(text, form); !wrong.isEmpty())
        return QStringLiteral("--%1 %2").arg(QLatin1String(option), wrong);
    target = text;
    return {};
}

// --yes and --no contradict each other, whichever comes first.
QString SetAnswer(CliOptions& options, QuestionAnswer answer)
{
    const QuestionAnswer other = answer == QuestionAnswer::kYes ? QuestionAnswer::kNo : QuestionAnswer::kYes;
    if (options.answer == other)
        return QStringLiteral("--yes и --no вместе не задаются");
    options.answer = answer;
    return {};
}

// One of `names`, its index in `values`.
template <std::size_t N>
QString SetChoice(std::optional<int>& target, const QString& text, const std::array<const char*, N>& names,
                  const std::array<int, N>& values, const char* option)
{
    QStringList allowed;
    for (std::size_t i = 0; i < N; ++i) {
        if (text.compare(QString::fromUtf8(names[i]), Qt::CaseInsensitive) == 0) {
            target = values[i];
            return {};
        }
        allowed << QString::fromUtf8(names[i]);
    }
    return QStringLiteral("--%1 ждет одно из: %2").arg(QLatin1String(option), allowed.join(QStringLiteral(", ")));
}

QString SetEndpoint(QString& target, const QString& text, const char* option)
{
    HostPort place;
    if (const QString wrong = ParseHostPort(text, 1, place); !wrong.isEmpty())
        return QStringLiteral("--%1 ждет АДРЕС:ПОРТ: %2 - %3").arg(QLatin1String(option), text, wrong);
    target = text;
    return {};
}

// A topic prefix: no wildcards, no empty levels at its ends.
QString SetTopicPrefix(QString& target, const QString& text, const char* option)
{
    if (text.isEmpty() || text.contains(u'+') || text.contains(u'#') || text.startsWith(u'/') || text.endsWith(u'/'))
        return QStringLiteral("--%1 ждет начало темы MQTT без + и # (zt5, dom/teplo)").arg(QLatin1String(option));
    target = text;
    return {};
}

const OptionRow<CliOptions> kOptions[] = {
    {"tcp", 0, "АДРЕС:ПОРТ", "Канал связи", "прибор в сети, TCP",
     [](CliOptions& o, const QString& v) { return SetEndpoint(o.tcp, v, "tcp"); }},
    {"udp", 0, "АДРЕС:ПОРТ", "Канал связи", "прибор в сети, UDP",
     [](CliOptions& o, const QString& v) { return SetEndpoint(o.udp, v, "udp"); }},
    {"serial", 0, "ПУТЬ", "Канал связи",
     "прямое подключение к последовательному порту (/dev/ttyUSB0, /dev/pts/N); statement: заводской номер "
     "прибора (число) - ведомость из базы данных без связи",
     [](CliOptions& o, const QString& v) {
         o.serial = v;
         return QString();
     }},
    {"modem", 0, "ПУТЬ", "Канал связи", "модем на последовательном порту, номер прибора в --phone",
     [](CliOptions& o, const QString& v) {
         o.modem = v;
         return QString();
     }},
    {"phone", 0, "НОМЕР", "Канал связи", "телефонный номер прибора для --modem",
     [](CliOptions& o, const QString& v) {
         o.phone = v;
         return QString();
     }},
    {"modem-init", 0, "СТРОКА", "Канал связи", "строка инициализации модема вместо стандартной (GSM)",
     [](CliOptions& o, const QString& v) {
         o.modemInit = v;
         return QString();
     }},
    {"dial", 0, "НАБОР", "Канал связи", "tone|pulse: тоновый или импульсный набор (по умолчанию tone)",
     [](CliOptions& o, const QString& v) {
         return SetChoice<2>(o.dialMode, v, {"tone", "pulse"}, {1, 0}, "dial");
     },
     "tone pulse"},
    {"baud", 0, "N", "Канал связи", "скорость порта, бит/с (по умолчанию 115200)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.baud, v, 50, 4000000, "baud"); }},
    {"parity", 0, "ЧЕТНОСТЬ", "Канал связи", "none|odd|even|mark|space (по умолчанию none)",
     [](CliOptions& o, const QString& v) {
         return SetChoice<5>(o.parity, v, {"none", "odd", "even", "mark", "space"}, {0, 1, 2, 3, 4}, "parity");
     },
     "none odd even mark space"},
    {"stop-bits", 0, "N", "Канал связи", "стоповые биты 1|1.5|2 (по умолчанию 1)",
     [](CliOptions& o, const QString& v) {
         return SetChoice<3>(o.stopBits, v, {"1", "1.5", "2"}, {0, 1, 2}, "stop-bits");
     },
     "1 1.5 2"},
    {"bits", 0, "N", "Канал связи", "биты данных 5..8 (по умолчанию 8)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.byteSize, v, 5, 8, "bits"); }},
    {"node", 0, "ИМЯ", "Канал связи",
     "узел учета из базы узлов (Base/Objects.bin рабочего каталога); для collect и watch можно повторять",
     [](CliOptions& o, const QString& v) {
         o.node = v;
         o.nodes << v;
         return QString();
     }},
    {"demo", 0, nullptr, "Канал связи", "демо-прибор в этом процессе (узел \"Демо-прибор\")",
     [](CliOptions& o, const QString&) {
         o.demo = true;
         return QString();
     }},
    {"framing", 0, "ВИД", "Канал связи", "rtu|ascii|ppp (по умолчанию rtu)",
     [](CliOptions& o, const QString& v) {
         const int framing = FramingFromName(v);
         if (framing < kFramingRtu || framing > kFramingPpp)
             return QStringLiteral("--framing ждет одно из: rtu, ascii, ppp");
         o.framing = framing;
         return QString();
     },
     "rtu ascii ppp"},
    {"functions", 0, "НАБОР", "Канал связи", "standard (3 и 16) | extended (0x48, по умолчанию)",
     [](CliOptions& o, const QString& v) {
         return SetChoice<2>(o.functionSet, v, {"standard", "extended"}, {0, 1}, "functions");
     },
     "standard extended"},
    {"address", 0, "N", "Канал связи", "сетевой адрес прибора 0..255 (по умолчанию 0)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.address, v, 0, 255, "address"); }},
    {"timeout", 0, "СЕК", "Канал связи", "тайм-аут на повтор, сек. (по умолчанию 3)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.timeoutSec, v, 1, 255, "timeout"); }},
    {"connect-timeout", 0, "СЕК", "Канал связи",
     "сколько ждать соединения TCP, 5..60 сек. (по умолчанию тайм-аут на повтор, но не меньше 5)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.connectTimeoutSec, v, 5, 60, "connect-timeout"); }},
    {"attempts", 0, "N", "Канал связи", "количество повторов (по умолчанию 5)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.attempts, v, 1, 255, "attempts"); }},
    {"workdir", 0, "КАТАЛОГ", "Программа", "рабочий каталог (база узлов)",
     [](CliOptions& o, const QString& v) {
         o.workFolder = v;
         return QString();
     }},
    {"settings", 0, "ФАЙЛ", "Программа", "файл настроек программы вместо settings.ini",
     [](CliOptions& o, const QString& v) {
         o.settingsFile = v;
         return QString();
     }},
    {"verbose", 'v', nullptr, "Программа",
     "строки монитора обмена в stderr; -vv (или -v -v) еще и канал связи с его настройками перед соединением",
     [](CliOptions& o, const QString&) {
         o.verbose = true;
         ++o.verbosity;
         return QString();
     }},
    {"quiet", 'q', nullptr, "Программа",
     "без строк хода работы и сообщений в stderr; ошибки и сообщения неудавшейся команды выводятся",
     [](CliOptions& o, const QString&) {
         o.quiet = true;
         return QString();
     }},
    {"yes", 0, nullptr, "Программа", "ответ \"Да\" (\"ОК\") на вопросы",
     [](CliOptions& o, const QString&) { return SetAnswer(o, QuestionAnswer::kYes); }},
    {"no", 0, nullptr, "Программа", "ответ \"Нет\" (\"Отмена\") на вопросы",
     [](CliOptions& o, const QString&) { return SetAnswer(o, QuestionAnswer::kNo); }},
    {"help", 'h', nullptr, "Программа", "эта справка",
     [](CliOptions& o, const QString&) {
         o.help = true;
         return QString();
     }},
    {"version", 0, nullptr, "Программа", "версия программы",
     [](CliOptions& o, const QString&) {
         o.version = true;
         return QString();
     }},
    {"output", 'o', "ФАЙЛ", "Команды",
     "файл результата (read-config, report, statement, archive --from); без расширения - с расширением "
     "команды, \"-\" - stdout; statement --all: папка",
     [](CliOptions& o, const QString& v) {
         // Bytes that are no UTF-8 arrive as U+FFFD: written, the file would get another name than asked.
         if (v.contains(QChar::ReplacementCharacter))
             return QStringLiteral("имя файла в -o не в кодировке UTF-8; файл с другим именем не записывается");
         // statement --all writes into a folder; every other command refuses one (RunCli).
         o.outputIsFolder = QFileInfo(v).isDir();
         o.output = v;
         return QString();
     }},
    {"as-read", 0, nullptr, "Команды",
     "read-config: сохранить настройки как прочитаны, даже если не сошлась их контрольная сумма (для ремонта)",
     [](CliOptions& o, const QString&) {
         o.asRead = true;
         return QString();
     }},
    {"date", 0, "ГГГГ-ММ-ДД[TЧЧ]", "Команды", "дата записи архива (archive)",
     [](CliOptions& o, const QString& v) { return SetDate(o.date, v, ArchiveDateForm::kHour, "date"); }},
    {"count", 0, "N", "Команды", "число записей (archive: подряд от --date; events)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.count, v, 1, 100000, "count"); }},
    {"format", 0, "ВИД", "Команды",
     "text|csv|json|html|pdf|xlsx: вид вывода (по умолчанию text); json дают info, descriptors, events, maker "
     "read, service-centre read, check, write-config, export-db, archive, collect; csv и html - archive; "
     "statement: pdf|xlsx|csv|html (по умолчанию - по расширению -o, иначе pdf)",
     [](CliOptions& o, const QString& v) {
         static const QStringList kFormats{QStringLiteral("text"), QStringLiteral("csv"), QStringLiteral("json"),
                                           QStringLiteral("html"), QStringLiteral("pdf"), QStringLiteral("xlsx")};
         if (!kFormats.contains(v))
             return QStringLiteral("--format ждет одно из: %1").arg(kFormats.join(u", "));
         o.format = v;
         return QString();
     },
     "text csv json html pdf xlsx"},
    {"totals", 0, nullptr, "Команды", "текущие итоги вместо текущих значений (current)",
     [](CliOptions& o, const QString&) {
         o.totals = true;
         return QString();
     }},
    {"repeat", 0, "СЕК", "Команды", "читать с этим периодом до Ctrl+C (current)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.repeatSec, v, 1, 86400, "repeat"); }},
    {"from", 0, "N|ДАТА", "Команды", "номер первой записи журнала (events); начало периода ГГГГ-ММ-ДД[TЧЧ] (archive)",
     [](CliOptions& o, const QString& v) {
         // A number is the first entry of a journal, anything else a date.
         if (ParseNumberInRange(v, 0, std::numeric_limits<int>::max())) {
             o.from = v;
             return QString();
         }
         return SetDate(o.from, v, ArchiveDateForm::kHour, "from");
     }},
    {"to", 0, "ДАТА", "Команды", "конец периода ГГГГ-ММ-ДД[TЧЧ] (archive, statement; без часа - до 23 ч)",
     [](CliOptions& o, const QString& v) { return SetDate(o.to, v, ArchiveDateForm::kHour, "to"); }},
    {"month", 0, "ГГГГ-ММ", "Команды", "месяц ведомости (statement) вместо --from и --to",
     [](CliOptions& o, const QString& v) { return SetDate(o.month, v, ArchiveDateForm::kMonth, "month"); }},
    {"input", 0, "1|2", "Команды", "тепловой ввод ведомости ТВ1 или ТВ2 (statement; по умолчанию - все в работе)",
     [](CliOptions& o, const QString& v) {
         std::optional<int> input;
         const QString error = SetChoice<2>(input, v, {"1", "2"}, {0, 1}, "input");
         o.input = input;
         return error;
     },
     "1 2"},
    {"all", 0, nullptr, "Команды",
     "statement: ведомость каждого прибора, чьи записи за период есть в --database, в папку -o",
     [](CliOptions& o, const QString&) {
         o.all = true;
         return QString();
     }},
    {"quantities", 0, "СПИСОК", "Команды", "величины периода через запятую: t1_1,V1_1,Qwi_1,DP... (archive)",
     [](CliOptions& o, const QString& v) {
         o.quantities = v;
         return QString();
     }},
    {"decimal-separator", 0, "comma|point", "Команды",
     "десятичный разделитель чисел в CSV (archive; без него - как в языковых настройках)",
     [](CliOptions& o, const QString& v) {
         if (!ParseDecimalSeparator(v))
             return QStringLiteral("--decimal-separator ждет comma или point");
         o.decimalSeparator = v;
         return QString();
     },
     "comma point"},
    {"maker-id", 0, "N", "Команды", "ID производителя 0..65535 (maker write)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.makerId, v, 0, 65535, "maker-id"); }},
    {"serial-number", 0, "N", "Команды", "серийный номер (maker write, service-centre write, node add, node set)",
     [](CliOptions& o, const QString& v) {
         const std::optional<qint64> number = ParseCount(v, 0xFFFFFFFFll);
         if (!number)
             return QStringLiteral("--serial-number ждет число 0..4294967295");
         o.serialNumber = number;
         return QString();
     }},
    {"model", 0, "МОДЕЛЬ", "Команды", "01|02|03|04|04.1 (maker write)",
     [](CliOptions& o, const QString& v) {
         return SetChoice<5>(o.model, v, {"01", "02", "03", "04", "04.1"}, {0, 1, 2, 3, 4}, "model");
     },
     "01 02 03 04 04.1"},
    {"battery", 0, "ТИП", "Команды", "тип батареи AA|C|D (service-centre write)",
     [](CliOptions& o, const QString& v) {
         return SetChoice<3>(o.battery, v, {"AA", "C", "D"}, {0, 1, 2}, "battery");
     },
     "AA C D"},
    {"database", 0, "СТРОКА", "Команды",
     "sqlite:ФАЙЛ или postgresql://польз@сервер/база (export-db, collect); без него - база из настроек. Пароль "
     "лучше держать в ~/.pgpass или PGPASSWORD: пароль в командной строке видят другие пользователи (ps)",
     [](CliOptions& o, const QString& v) {
         o.database = v;
         return QString();
     }},
    {"jobs", 'j', "N", "Команды",
     "сколько линий опрашивать одновременно, 1..64 (collect, watch; по умолчанию - все линии, не больше 8)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.jobs, v, 1, 64, "jobs"); }},
    {"kind", 0, "ВИД", "Команды",
     "direct|modem|ip: только узлы с таким подключением (collect, watch); подключение узла (node add, node set)",
     [](CliOptions& o, const QString& v) {
         if (v != QLatin1String("direct") && v != QLatin1String("modem") && v != QLatin1String("ip"))
             return QStringLiteral("--kind ждет одно из: direct, modem, ip");
         o.kind = v;
         return QString();
     },
     "direct modem ip"},
    {"stand", 0, "ПУТЬ", "Команды", "порт эталонного стенда РКМ8 (calibrate)",
     [](CliOptions& o, const QString& v) {
         o.stand = v;
         return QString();
     }},
    {"variant", 0, "ИСПОЛНЕНИЕ", "Команды", "Россия|Казахстан|Украина (service-centre write)",
     [](CliOptions& o, const QString& v) {
         return SetChoice<3>(o.variant, v, {"Россия", "Казахстан", "Украина"}, {0, 1, 2}, "variant");
     },
     "Россия Казахстан Украина"},
    {"rename", 0, "ИМЯ", "Узлы учета", "новое имя узла (node set)",
     [](CliOptions& o, const QString& v) {
         o.rename = v;
         return QString();
     }},
    {"location", 0, "ТЕКСТ", "Узлы учета", "адрес узла учета (node add, node set)",
     [](CliOptions& o, const QString& v) {
         o.location = v;
         return QString();
     }},
    {"note", 0, "ТЕКСТ", "Узлы учета", "примечание к узлу (node add, node set)",
     [](CliOptions& o, const QString& v) {
         o.note = v;
         return QString();
     }},
    {"interval", 0, "СЕК", "Наблюдение", "период опроса watch, 1..86400 с (по умолчанию 60)",
     [](CliOptions& o, const QString& v) { return SetNumber(o.intervalSec, v, 1, 86400, "interval"); }},
    {"mqtt", 0, "URL", "Наблюдение",
     "mqtt://[ПОЛЬЗОВАТЕЛЬ@]СЕРВЕР[:ПОРТ]: брокер MQTT для watch; пароль - в ZT5_MQTT_PASSWORD или в файле "
     "ZT5_MQTT_PASSWORD_FILE (watch.conf), не в командной строке",
     [](CliOptions& o, const QString& v) {
         o.mqtt = v;
         return QString();
     }},
    {"mqtt-prefix", 0, "ПРЕФИКС", "Наблюдение", "начало тем MQTT watch (по умолчанию zt5)",
     [](CliOptions& o, const QString& v) { return SetTopicPrefix(o.mqttPrefix, v, "mqtt-prefix"); }},
    {"discovery-prefix", 0, "ПРЕФИКС", "Наблюдение",
     "темы обнаружения Home Assistant для watch (по умолчанию homeassistant)",
     [](CliOptions& o, const QString& v) { return SetTopicPrefix(o.discoveryPrefix, v, "discovery-prefix"); }},
    {"http", 0, "АДРЕС:ПОРТ", "Наблюдение", "страницы /metrics (Prometheus) и /healthz для watch",
     [](CliOptions& o, const QString& v) { return SetEndpoint(o.http, v, "http"); }},
    {"once", 0, nullptr, "Наблюдение", "watch: один опрос и выход (0 - ответили все приборы, 1 - нет)",
     [](CliOptions& o, const QString&) {
         o.once = true;
         return QString();
     }},
};

// Words that are no option: the command, then its words.
void TakeCommandWord(CliOptions& options, const QString& word)
{
    if (options.command.isEmpty())
        options.command = word;
    else
        options.arguments << word;
}

}  // namespace

std::optional<qint64> ParseCount(const QString& text, qint64 maximum)
{
    return ParseNumberInRange(text, 0, maximum);
}

QString ParseCliOptions(const QStringList& arguments, CliOptions& options)
{
    OptionGrammar<CliOptions> grammar;
    grammar.takeWord = TakeCommandWord;
    return ParseOptionWords<CliOptions>(arguments, kOptions, grammar, options);
}

std::vector<HelpGroup> CliOptionGroups()
{
    return HelpGroupsOf<CliOptions>(kOptions);
}
