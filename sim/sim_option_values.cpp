#include "sim_option_values.h"

#include <QRegularExpression>
#include <QStringList>

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
