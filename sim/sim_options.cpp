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
    } else if (option == QLatin1String("--blank-config")) {
        options.blankConfiguration = true;
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
        } else if (option == QLatin1String("--version")) {
            options.showVersion = true;
        } else if (option == QLatin1String("-v") || option == QLatin1String("--verbose")) {
            options.verbose = true;
        } else if (option == QLatin1String("--tcp") || option == QLatin1String("--udp")) {
            if (!value(text) || !SplitHostPort(text, options.host, options.port))
                return QStringLiteral("%1 ждет HOST:PORT").arg(option);
            options.endpoint = option == QLatin1String("--tcp") ? SimOptions::Endpoint::Tcp : SimOptions::Endpoint::Udp;
        } else if (option == QLatin1String("--max-clients")) {
            if (!value(text) || !ParseUnsigned(text, 1000, number) || number == 0)
                return QStringLiteral("--max-clients ждет число 1..1000");
            options.maxClients = static_cast<int>(number);
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
    if (!*wantsHelp && !options.showVersion && options.endpoint == SimOptions::Endpoint::None
        && options.standLine.isEmpty())
        return QStringLiteral("не задан канал: --tcp, --udp, --pty, --modem-pty или --serial");
    if (options.standEcho && options.standLine.isEmpty())
        return QStringLiteral("--stand-echo ждет стенд: --stand pty|PATH");
    if (options.modem.enabled && options.endpoint != SimOptions::Endpoint::Pty)
        return QStringLiteral("модем работает только на псевдотерминале: --modem-pty без --tcp, --udp и --serial");
    return {};
}
