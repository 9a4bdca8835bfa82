#include "archives/database_target.h"

#include "base/settings_sections.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kDefaultPostgresqlPort = 5432;
const QLatin1String kSqlitePrefix("sqlite:");

const QLatin1String kMask("***");

bool AllDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The text as it may be shown, also when it does not parse: what stands between the user's name and the
// last "@" is a password; so is a non-number after a colon where no "@" follows (a port cannot be
// letters, a password forgotten before its "@" can), and a "password=" in the query.
QString Masked(const QString& text)
{
    QString shown = text;
    const qsizetype scheme = shown.indexOf(QLatin1String("://"));
    const qsizetype start = scheme < 0 ? 0 : scheme + 3;
    const qsizetype at = shown.lastIndexOf(u'@');
    const qsizetype colon = shown.indexOf(u':', start);
    if (at > start && colon >= 0 && colon < at) {
        shown.replace(colon + 1, at - colon - 1, kMask);
    } else if (at < start && colon >= 0) {
        qsizetype end = colon + 1;
        while (end < shown.size() && shown[end] != u'/' && shown[end] != u'?' && shown[end] != u'#')
            ++end;
        if (!AllDigits(QStringView(shown).mid(colon + 1, end - colon - 1)))
            shown.replace(colon + 1, end - colon - 1, kMask);
    }
    static const QRegularExpression query(QStringLiteral("([?&]password=)[^&#]*"),
                                          QRegularExpression::CaseInsensitiveOption);
    return shown.replace(query, QStringLiteral("\\1") + kMask);
}

QString BadText(const QString& text, const QString& reason)
{
    return QString::fromUtf8("Неверная строка подключения к базе данных \"%1\": %2").arg(Masked(text), reason);
}

// Qt's words for what is wrong, without the text itself that it quotes (with the password in it) and
// without the character of a password it names.
QString UrlFault(const QUrl& url)
{
    QString fault = url.errorString();
    if (const qsizetype quoted = fault.indexOf(QLatin1String("; source was")); quoted >= 0)
        fault.truncate(quoted);
    if (fault.startsWith(QLatin1String("Invalid password")))
        return QStringLiteral("Invalid password");
    return fault;
}

bool ParsePostgresql(const QString& text, DatabaseTarget* target, QString* error)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) {
        *error = BadText(text, UrlFault(url));
        return false;
    }
    DatabaseTarget parsed;
    parsed.engine = DatabaseTarget::Engine::kPostgresql;
    parsed.host = url.host();
    parsed.port = url.port(kDefaultPostgresqlPort);
    parsed.user = url.userName();
    parsed.password = url.password();
    parsed.database = url.path().mid(1);
    if (parsed.host.isEmpty()) {
        *error = BadText(text, QString::fromUtf8("не указан сервер"));
        return false;
    }
    if (parsed.database.isEmpty() || parsed.database.contains(u'/')) {
        *error = BadText(text, QString::fromUtf8("не указано имя базы данных"));
        return false;
    }
    *target = parsed;
    return true;
}

}  // namespace

QString DatabaseTarget::Describe() const
{
    if (engine == Engine::kSqlite)
        return kSqlitePrefix + path;
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + u'@';
    return text + host + u':' + QString::number(port) + u'/' + database;
}

QString DefaultDatabasePath(const QString& workFolder)
{
    return QDir(workFolder).filePath(QStringLiteral("db/Data.sqlite"));
}

bool ParseDatabaseTarget(const QString& text, DatabaseTarget* target, QString* error)
{
    if (text.startsWith(kSqlitePrefix)) {
        const QString path = text.mid(kSqlitePrefix.size());
        if (path.isEmpty()) {
            *error = BadText(text, QString::fromUtf8("не указан файл"));
            return false;
        }
        *target = DatabaseTarget{};
        target->path = path;
        return true;
    }
    if (text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://")))
        return ParsePostgresql(text, target, error);
    *error = BadText(text,
                     QString::fromUtf8("ожидается sqlite:ФАЙЛ или postgresql://пользователь:пароль@сервер:порт/база"));
    return false;
}

SettingValue<QString> DatabaseConnectionSetting(SettingsStore& store)
{
    return SettingsSection(store, SettingsSections::kDatabase).Value(QStringLiteral("Connection"), QString());
}

bool ConfiguredDatabaseTarget(SettingsStore& store, const QString& workFolder, DatabaseTarget* target, QString* error)
{
    const QString text = DatabaseConnectionSetting(store).Get().trimmed();
    if (!text.isEmpty())
        return ParseDatabaseTarget(text, target, error);
    *target = DatabaseTarget{};
    target->path = DefaultDatabasePath(workFolder);
    return true;
}
