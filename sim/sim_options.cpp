#include "sim_options.h"

#include "channel/framing_names.h"
#include "modem_options.h"

#include <QRegularExpression>

namespace {

bool SplitHostPort(const QString& text, QString& host, int& port)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    bool ok = false;
    const int value = text.mid(colon + 1).toInt(&ok);
    if (!ok || value < 0 || value > 65535)
        return false;
    host = text.left(colon);
    port = value;
    return true;
}

// "2.5" -> 0x0205 (major in the high byte).
bool ParseVersion(const QString& text, std::uint16_t& version)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    bool okMajor = false, okMinor = false;
    if (parts.size() != 2)
        return false;
    const int major = parts[0].toInt(&okMajor);
    const int minor = parts[1].toInt(&okMinor);
    if (!okMajor || !okMinor || major < 0 || major > 255 || minor < 0 || minor > 255)
        return false;
    version = static_cast<std::uint16_t>((major << 8) | minor);
    return true;
}

bool ParseModel(const QString& text, std::uint8_t& model)
{
    static const char* const kModels[] = {"01", "02", "03", "04", "04.1"};
    for (int i = 0; i < 5; ++i) {
        if (text == QLatin1String(kModels[i])) {
            model = static_cast<std::uint8_t>(i);
            return true;
        }
    }
    return false;
}

bool ParseUnsigned(const QString& text, qulonglong max, qulonglong& value)
{
    bool ok = false;
    value = text.toULongLong(&ok, 0);
    return ok && value <= max;
}

// "2024-03-10" or "2024-03-10T14" (hour 0 when left out).
bool ParseArchiveEnd(const QString& text, TChronoArch& date)
{
    static const QRegularExpression kForm(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:T(\\d{2}))?$"));
    const QRegularExpressionMatch match = kForm.match(text);
    if (!match.hasMatch())
        return false;
    const int year = match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    const int hour = match.captured(4).isEmpty() ? 0 : match.captured(4).toInt();
    if (year < kBaseYear || year >= kBaseYear + kEmptyYear || month < 1 || month > 12 || hour > 23)
        return false;
    date = TChronoArch{static_cast<std::uint8_t>(day), static_cast<std::uint8_t>(month),
                       static_cast<std::uint8_t>(year - kBaseYear), static_cast<std::uint8_t>(hour)};
    return day >= 1 && day <= MonthLength(month, date.year);
}

// Up to five printable Latin characters: the password field holds five and a terminating zero.
bool ParsePassword(const QString& text, QByteArray& password)
{
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x21 || c.unicode() > 0x7E)
            return false;
    }
    password = text.toLatin1();
    return true;
}

// Options that shape what the meter keeps in its memory. Returns false when `option` is not one of
// them; `error` is set when it is one but its value is wrong.
template <class TakeValue>
bool ParseMemoryOption(const QString& option, TakeValue value, SimOptions& options, QString* error)
{
    QString text;
    qulonglong number = 0;
    if (option == QLatin1String("--password")) {
        if (!value(text) || !ParsePassword(text, options.password))
            *error = QStringLiteral("--password ждет от 1 до 5 латинских букв, цифр или знаков");
    } else if (option == QLatin1String("--bad-tunes-crc")) {
        options.badTunesChecksum = true;
    } else if (option == QLatin1String("--bad-open-crc")) {
        options.badOpenChecksum = true;
    } else if (option == QLatin1String("--archive-days")) {
        if (!value(text) || !ParseUnsigned(text, 3650, number))
            *error = QStringLiteral("--archive-days ждет число суток 0..3650");
        options.archives.days = static_cast<int>(number);
    } else if (option == QLatin1String("--archive-end")) {
        if (!value(text) || !ParseArchiveEnd(text, options.archives.end))
            *error = QStringLiteral("--archive-end ждет дату ГГГГ-ММ-ДД или ГГГГ-ММ-ДДTЧЧ");
        options.archives.fixedEnd = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

QString SimHelpText()
{
    return QStringLiteral(
        "Использование: zt5-meter-sim КАНАЛ [ПАРАМЕТРЫ]\n"
        "Имитатор теплосчетчика ЗТ5: отвечает на запросы Modbus (функции 3, 16 и 0x48).\n"
        "\n"
        "Канал (один из):\n"
        "  --tcp HOST:PORT        слушать TCP (один клиент за раз; PORT 0 - любой свободный)\n"
        "  --udp HOST:PORT        принимать датаграммы UDP, отвечать отправителю\n"
        "  --pty                  создать псевдотерминал; путь к нему печатается в stdout\n"
        "  --modem-pty            псевдотерминал с модемом перед прибором (см. ниже)\n"
        "  --serial PATH          открыть последовательный порт PATH\n"
        "  --baud N               скорость порта для --serial (по умолчанию 115200)\n"
        "\n"
        "Протокол:\n"
        "  --framing rtu|ascii|ppp|tcp   кадр на линии (tcp - заголовок MBAP); по умолчанию rtu\n"
        "  --address N            сетевой адрес прибора 1..247 (по умолчанию 1). Прибор отвечает на\n"
        "                         свой адрес и на адрес 0; запросы к другим адресам остаются без ответа\n"
        "\n"
        "Прибор:\n"
        "  --model 01|02|03|04|04.1   модель (по умолчанию 04)\n"
        "  --serial-number N      заводской номер (по умолчанию 170001)\n"
        "  --firmware-level N     уровень встроенного ПО (по умолчанию 515)\n"
        "  --hw-version X.Y       версия аппаратуры АВ (по умолчанию 1.3)\n"
        "  --sw-version X.Y       версия ПО ПВ (по умолчанию 2.5)\n"
        "\n"
        "Память прибора:\n"
        "  --password ТЕКСТ       пароль смены параметров и активной БД, до 5 знаков (по умолчанию 12345)\n"
        "  --bad-tunes-crc        начать с неверной контрольной суммой настроек\n"
        "  --bad-open-crc         начать с неверной контрольной суммой настроек, не защищенных кнопкой Доступ\n"
        "  --archive-days N       длина архивов в сутках (по умолчанию 92)\n"
        "  --archive-end ДАТА     последняя часовая запись, ГГГГ-ММ-ДД[TЧЧ]; без этого параметра архивы\n"
        "                         заканчиваются текущим часом прибора и пополняются со временем\n"
        "\n"
        "Сбои (для проверки надежности обмена):\n"
        "  --fault ВИД=ЧАСТОТА    ВИД: drop (нет ответа), corrupt (испорчен байт), delay (ответ позже\n"
        "                         тайм-аута), late (0x48: сначала ответ с прежним номером), echo (эхо\n"
        "                         запроса), garbage (мусор перед ответом), close (разрыв TCP);\n"
        "                         ЧАСТОТА: доля 0..1, проценты \"10%\" или \"3x\" - первые три ответа.\n"
        "                         Параметр можно повторять\n"
        "  --seed N               начальное число генератора сбоев, архивов, журналов и страниц flash\n"
        "                         (по умолчанию 1)\n"
        "  --fault-delay-ms N     задержка ответа для delay (по умолчанию 3500)\n"
        "  --baud-delay N         задерживать ответ на время линии на скорости N бод: запрос и ответ по 11 бит\n"
        "                         на символ и пауза 3,5 символа после запроса RTU\n"
        "\n")
        + ModemHelpText()
        + QStringLiteral(
            "Эталонный стенд РКМ8 (автоматическая калибровка):\n"
            "  --stand pty|PATH       стенд на своем псевдотерминале (pty) или порту PATH; его путь печатается\n"
            "                         в stdout строкой после адреса прибора. Без канала прибора работает\n"
            "                         только стенд. Стенд отвечает \"Ok\", неизвестные команды отклоняет\n"
            "                         (\"Er\"); установленные меры печатаются в stderr\n"
            "  --stand-echo           стенд повторяет команду перед ответом\n"
            "\n")
        + QStringLiteral(
            "  -v                     журнал обмена (кадры в шестнадцатеричном виде) в stderr\n"
            "  --help                 эта справка\n");
}

QString ParseSimOptions(const QStringList& arguments, SimOptions& options, bool* wantsHelp)
{
    *wantsHelp = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        auto value = [&](QString& out) -> bool {
            if (i + 1 >= arguments.size())
                return false;
            out = arguments[++i];
            return true;
        };
        QString text;
        qulonglong number = 0;
        QString memoryError;
        bool modemPty = false;
        if (ParseMemoryOption(option, value, options, &memoryError)) {
            if (!memoryError.isEmpty())
                return memoryError;
        } else if (ParseModemOption(option, value, options.modem, modemPty, memoryError)) {
            if (!memoryError.isEmpty())
                return memoryError;
            if (modemPty)
                options.endpoint = SimOptions::Endpoint::Pty;
        } else if (option == QLatin1String("--stand")) {
            if (!value(options.standLine) || options.standLine.isEmpty())
                return QStringLiteral("--stand ждет pty или путь к порту");
        } else if (option == QLatin1String("--stand-echo")) {
            options.standEcho = true;
        } else if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            *wantsHelp = true;
        } else if (option == QLatin1String("-v") || option == QLatin1String("--verbose")) {
            options.verbose = true;
        } else if (option == QLatin1String("--tcp") || option == QLatin1String("--udp")) {
            if (!value(text) || !SplitHostPort(text, options.host, options.port))
                return QStringLiteral("%1 ждет HOST:PORT").arg(option);
            options.endpoint = option == QLatin1String("--tcp") ? SimOptions::Endpoint::Tcp : SimOptions::Endpoint::Udp;
        } else if (option == QLatin1String("--pty")) {
            options.endpoint = SimOptions::Endpoint::Pty;
        } else if (option == QLatin1String("--serial")) {
            if (!value(options.serialPath))
                return QStringLiteral("--serial ждет путь к порту");
            options.endpoint = SimOptions::Endpoint::Serial;
        } else if (option == QLatin1String("--baud")) {
            if (!value(text) || !ParseUnsigned(text, 4000000, number) || number == 0)
                return QStringLiteral("--baud ждет скорость в бодах");
            options.baud = static_cast<int>(number);
        } else if (option == QLatin1String("--framing")) {
            if (!value(text) || (options.framing = FramingFromName(text)) < 0)
                return QStringLiteral("--framing ждет rtu, ascii, ppp или tcp");
        } else if (option == QLatin1String("--address")) {
            if (!value(text) || !ParseUnsigned(text, 247, number) || number == 0)
                return QStringLiteral("--address ждет число 1..247");
            options.address = static_cast<std::uint8_t>(number);
        } else if (option == QLatin1String("--model")) {
            if (!value(text) || !ParseModel(text, options.identity.model))
                return QStringLiteral("--model ждет 01, 02, 03, 04 или 04.1");
        } else if (option == QLatin1String("--serial-number")) {
            if (!value(text) || !ParseUnsigned(text, 0xFFFFFFFFull, number))
                return QStringLiteral("--serial-number ждет число");
            options.identity.serialNumber = static_cast<std::uint32_t>(number);
        } else if (option == QLatin1String("--firmware-level")) {
            if (!value(text) || !ParseUnsigned(text, 0xFFFF, number))
                return QStringLiteral("--firmware-level ждет число 0..65535");
            options.identity.firmwareLevel = static_cast<std::uint16_t>(number);
        } else if (option == QLatin1String("--hw-version")) {
            if (!value(text) || !ParseVersion(text, options.identity.hardwareVersion))
                return QStringLiteral("--hw-version ждет X.Y");
        } else if (option == QLatin1String("--sw-version")) {
            if (!value(text) || !ParseVersion(text, options.identity.softwareVersion))
                return QStringLiteral("--sw-version ждет X.Y");
        } else if (option == QLatin1String("--fault")) {
            if (!value(text))
                return QStringLiteral("--fault ждет ВИД=ЧАСТОТА");
            const QString error = options.faults.AddRule(text);
            if (!error.isEmpty())
                return error;
        } else if (option == QLatin1String("--seed")) {
            if (!value(text) || !ParseUnsigned(text, 0xFFFFFFFFull, number))
                return QStringLiteral("--seed ждет число");
            options.seed = static_cast<std::uint32_t>(number);
        } else if (option == QLatin1String("--fault-delay-ms")) {
            if (!value(text) || !ParseUnsigned(text, 600000, number))
                return QStringLiteral("--fault-delay-ms ждет число миллисекунд");
            options.faultDelayMs = static_cast<int>(number);
        } else if (option == QLatin1String("--baud-delay")) {
            if (!value(text) || !ParseUnsigned(text, 4000000, number))
                return QStringLiteral("--baud-delay ждет скорость в бодах");
            options.baudDelay = static_cast<int>(number);
        } else {
            return QStringLiteral("неизвестный параметр: %1").arg(option);
        }
    }
    if (!*wantsHelp && options.endpoint == SimOptions::Endpoint::None && options.standLine.isEmpty())
        return QStringLiteral("не задан канал: --tcp, --udp, --pty, --modem-pty или --serial");
    if (options.standEcho && options.standLine.isEmpty())
        return QStringLiteral("--stand-echo ждет стенд: --stand pty|PATH");
    if (options.modem.enabled && options.endpoint != SimOptions::Endpoint::Pty)
        return QStringLiteral("модем работает только на псевдотерминале: --modem-pty без --tcp, --udp и --serial");
    return {};
}
