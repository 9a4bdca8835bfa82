#include "sim_option_table.h"

#include "sim_option_values.h"

#include "base/host_port.h"
#include "base/number_option.h"
#include "channel/framing_names.h"
#include "meter/archive_date_text.h"

#include <optional>

namespace {

using Options = SimOptions;

// The number in `text` into `target` when it lies in minimum..maximum, else `error`.
template <class T>
QString SetNumber(T& target, const QString& text, qint64 minimum, qint64 maximum, const char* error)
{
    const std::optional<qint64> number = ParseNumberInRange(text, minimum, maximum, NumberNotation::kHexPrefix);
    if (!number)
        return QString::fromUtf8(error);
    target = static_cast<T>(*number);
    return {};
}

QString SetEndpoint(Options& o, const QString& v, Options::Endpoint endpoint, const char* option)
{
    const QString wanted = QStringLiteral("--%1 ждет HOST:PORT").arg(QLatin1String(option));
    if (v.isNull())
        return wanted;
    HostPort place;
    if (const QString wrong = ParseHostPort(v, 0, place); !wrong.isEmpty())
        return QStringLiteral("%1: %2 - %3").arg(wanted, v, wrong);
    o.host = place.host;
    o.port = place.port;
    o.endpoint = endpoint;
    return {};
}

constexpr const char* kChannel = "Канал (один из)";
constexpr const char* kProtocol = "Протокол";
constexpr const char* kMeter = "Прибор";
constexpr const char* kMemory = "Память прибора";
constexpr const char* kFaults = "Сбои (для проверки надежности обмена)";
constexpr const char* kModem = "Модем перед прибором";
constexpr const char* kStand = "Эталонный стенд РКМ8 (автоматическая калибровка)";
constexpr const char* kProgram = "Программа";

const OptionRow<Options> kRows[] = {
    {"tcp", 0, "HOST:PORT", kChannel, "слушать TCP (PORT 0 - любой свободный)",
     [](Options& o, const QString& v) { return SetEndpoint(o, v, Options::Endpoint::Tcp, "tcp"); }},
    {"max-clients", 0, "N", kChannel,
     "сколько клиентов TCP обслуживать одновременно (по умолчанию 4); лишние соединения принимаются и сразу "
     "закрываются",
     [](Options& o, const QString& v) {
         return SetNumber(o.maxClients, v, 1, 1000, "--max-clients ждет число 1..1000");
     }},
    {"udp", 0, "HOST:PORT", kChannel, "принимать датаграммы UDP, отвечать отправителю",
     [](Options& o, const QString& v) { return SetEndpoint(o, v, Options::Endpoint::Udp, "udp"); }},
    {"pty", 0, nullptr, kChannel, "создать псевдотерминал; путь к нему печатается в stdout",
     [](Options& o, const QString&) {
         o.endpoint = Options::Endpoint::Pty;
         return QString();
     }},
    {"modem-pty", 0, nullptr, kChannel, "псевдотерминал с модемом перед прибором (см. \"Модем перед прибором\")",
     [](Options& o, const QString&) {
         o.modem.enabled = true;
         o.endpoint = Options::Endpoint::Pty;
         return QString();
     }},
    {"serial", 0, "PATH", kChannel, "открыть последовательный порт PATH",
     [](Options& o, const QString& v) {
         if (v.isNull())
             return QStringLiteral("--serial ждет путь к порту");
         o.serialPath = v;
         o.endpoint = Options::Endpoint::Serial;
         return QString();
     }},
    {"baud", 0, "N", kChannel, "скорость порта для --serial (по умолчанию 115200)",
     [](Options& o, const QString& v) { return SetNumber(o.baud, v, 1, 4000000, "--baud ждет скорость в бодах"); }},
    {"framing", 0, "ВИД", kProtocol, "rtu|ascii|ppp|tcp: кадр на линии (tcp - заголовок MBAP); по умолчанию rtu",
     [](Options& o, const QString& v) {
         if ((o.framing = FramingFromName(v)) < 0)
             return QStringLiteral("--framing ждет rtu, ascii, ppp или tcp");
         return QString();
     },
     "rtu ascii ppp tcp"},
    {"address", 0, "N", kProtocol,
     "сетевой адрес прибора 1..247 (по умолчанию 1). Прибор отвечает на свой адрес и на адрес 0; запросы к "
     "другим адресам остаются без ответа",
     [](Options& o, const QString& v) { return SetNumber(o.address, v, 1, 247, "--address ждет число 1..247"); }},
    {"model", 0, "МОДЕЛЬ", kMeter, "01|02|03|04|04.1: модель (по умолчанию 04)",
     [](Options& o, const QString& v) {
         return ParseModel(v, o.identity.model) ? QString() : QStringLiteral("--model ждет 01, 02, 03, 04 или 04.1");
     },
     "01 02 03 04 04.1"},
    {"serial-number", 0, "N", kMeter, "заводской номер (по умолчанию 170001)",
     [](Options& o, const QString& v) {
         return SetNumber(o.identity.serialNumber, v, 0, 0xFFFFFFFFll, "--serial-number ждет число");
     }},
    {"firmware-level", 0, "N", kMeter, "уровень встроенного ПО (по умолчанию 515)",
     [](Options& o, const QString& v) {
         return SetNumber(o.identity.firmwareLevel, v, 0, 0xFFFF, "--firmware-level ждет число 0..65535");
     }},
    {"hw-version", 0, "X.Y", kMeter, "версия аппаратуры АВ (по умолчанию 1.3)",
     [](Options& o, const QString& v) {
         return ParseVersion(v, o.identity.hardwareVersion) ? QString() : QStringLiteral("--hw-version ждет X.Y");
     }},
    {"sw-version", 0, "X.Y", kMeter, "версия ПО ПВ (по умолчанию 2.5)",
     [](Options& o, const QString& v) {
         return ParseVersion(v, o.identity.softwareVersion) ? QString() : QStringLiteral("--sw-version ждет X.Y");
     }},
    {"password", 0, "ТЕКСТ", kMemory, "пароль смены параметров и активной БД, до 5 знаков (по умолчанию 12345)",
     [](Options& o, const QString& v) {
         return ParsePassword(v, o.password)
             ? QString()
             : QStringLiteral("--password ждет от 1 до 5 латинских букв, цифр или знаков");
     }},
    {"blank-config", 0, nullptr, kMemory,
     "начать с чистыми заводскими настройками (все тепловые вводы не используются) вместо настроек "
     "демонстрационного узла учета",
     [](Options& o, const QString&) {
         o.blankConfiguration = true;
         return QString();
     }},
    {"bad-tunes-crc", 0, nullptr, kMemory, "начать с неверной контрольной суммой настроек",
     [](Options& o, const QString&) {
         o.badTunesChecksum = true;
         return QString();
     }},
    {"bad-open-crc", 0, nullptr, kMemory, "начать с неверной контрольной суммой настроек, не защищенных кнопкой Доступ",
     [](Options& o, const QString&) {
         o.badOpenChecksum = true;
         return QString();
     }},
    {"archive-days", 0, "N", kMemory, "длина архивов в сутках (по умолчанию 92)",
     [](Options& o, const QString& v) {
         return SetNumber(o.archives.days, v, 0, 3650, "--archive-days ждет число суток 0..3650");
     }},
    {"archive-end", 0, "ДАТА", kMemory,
     "последняя часовая запись, ГГГГ-ММ-ДД[TЧЧ]; без этого параметра архивы заканчиваются текущим часом прибора "
     "и пополняются со временем",
     [](Options& o, const QString& v) {
         if (!ParseArchiveEnd(v, o.archives.end)) {
             const QString wrong = ArchiveDateTextProblem(v, ArchiveDateForm::kHour);
             return QStringLiteral("--archive-end ждет дату ГГГГ-ММ-ДД или ГГГГ-ММ-ДДTЧЧ%1")
                 .arg(wrong.isEmpty() ? QString() : QStringLiteral(": ") + wrong);
         }
         o.archives.fixedEnd = true;
         return QString();
     }},
    {"fault", 0, "ВИД=ЧАСТОТА", kFaults,
     "ВИД: drop (нет ответа), corrupt (испорчен байт), delay (ответ позже тайм-аута), late (0x48: сначала ответ "
     "с прежним номером), echo (эхо запроса), garbage (мусор перед ответом), close (разрыв TCP), swap (функция 3: "
     "в области ответа другая запись архива, как если бы между запросом и чтением спросил другой мастер); "
     "ЧАСТОТА: доля "
     "0..1, проценты \"10%\" или \"3x\" - первые три ответа. Параметр можно повторять",
     [](Options& o, const QString& v) {
         return v.isNull() ? QStringLiteral("--fault ждет ВИД=ЧАСТОТА") : o.faults.AddRule(v);
     }},
    {"seed", 0, "N", kFaults, "начальное число генератора сбоев, архивов, журналов и страниц flash (по умолчанию 1)",
     [](Options& o, const QString& v) { return SetNumber(o.seed, v, 0, 0xFFFFFFFFll, "--seed ждет число"); }},
    {"fault-delay-ms", 0, "N", kFaults, "задержка ответа для delay (по умолчанию 3500)",
     [](Options& o, const QString& v) {
         return SetNumber(o.faultDelayMs, v, 0, 600000, "--fault-delay-ms ждет число миллисекунд");
     }},
    {"baud-delay", 0, "N", kFaults,
     "задерживать ответ на время линии на скорости N бод: запрос и ответ по 11 бит на символ и пауза 3,5 символа "
     "после запроса RTU",
     [](Options& o, const QString& v) {
         return SetNumber(o.baudDelay, v, 0, 4000000, "--baud-delay ждет скорость в бодах");
     }},
    {"modem-speed", 0, "N", kModem,
     "скорость, на которой модем понимает команды (по умолчанию 115200); на других скоростях он молчит",
     [](Options& o, const QString& v) {
         return SetNumber(o.modem.speed, v, 50, 4000000, "--modem-speed ждет скорость в бодах");
     }},
    {"modem-answer", 0, "ИТОГ", kModem,
     "чем кончается набор номера: connect (по умолчанию), busy, no-dialtone, no-carrier",
     [](Options& o, const QString& v) {
         return ParseModemCallOutcome(v, o.modem.outcome)
             ? QString()
             : QStringLiteral("--modem-answer ждет connect, busy, no-dialtone или no-carrier");
     },
     "connect busy no-dialtone no-carrier"},
    {"modem-guard-ms", 0, "N", kModem, "пауза до и после \"+++\" (по умолчанию 1000)",
     [](Options& o, const QString& v) {
         return SetNumber(o.modem.guardMs, v, 0, 10000, "--modem-guard-ms ждет число миллисекунд 0..10000");
     }},
    {"modem-dial-ms", 0, "N", kModem, "время от команды ATD до ее итога (по умолчанию 500)",
     [](Options& o, const QString& v) {
         return SetNumber(o.modem.dialMs, v, 0, 600000, "--modem-dial-ms ждет число миллисекунд 0..600000");
     }},
    {"stand", 0, "pty|PATH", kStand,
     "стенд на своем псевдотерминале (pty) или порту PATH; его путь печатается в stdout строкой после адреса "
     "прибора. Без канала прибора работает только стенд. Стенд отвечает \"Ok\", неизвестные команды отклоняет "
     "(\"Er\"); установленные меры печатаются в stderr",
     [](Options& o, const QString& v) {
         if (v.isEmpty())
             return QStringLiteral("--stand ждет pty или путь к порту");
         o.standLine = v;
         return QString();
     }},
    {"stand-echo", 0, nullptr, kStand, "стенд повторяет команду перед ответом",
     [](Options& o, const QString&) {
         o.standEcho = true;
         return QString();
     }},
    {"verbose", 'v', nullptr, kProgram, "журнал обмена (кадры в шестнадцатеричном виде) в stderr",
     [](Options& o, const QString&) {
         o.verbose = true;
         return QString();
     }},
    {"help", 'h', nullptr, kProgram, "эта справка",
     [](Options& o, const QString&) {
         o.showHelp = true;
         return QString();
     }},
    {"version", 0, nullptr, kProgram, "версия программы",
     [](Options& o, const QString&) {
         o.showVersion = true;
         return QString();
     }},
};

}  // namespace

std::span<const OptionRow<SimOptions>> SimOptionRows()
{
    return kRows;
}
