#include "archives/database_target.h"

#include "base/settings_sections.h"

#include <QDir>
#include <QUrl>

namespace {

constexpr int kDefaultPostgresqlPort = 5432;
const QLatin1String kSqlitePrefix("sqlite:");
const QLatin1String kConnectionKey("Connection");

QString BadText(const QString& text, const QString& reason)
{
    return QString::fromUtf8("Неверная строка подключения к базе данных \"%1\": %2").arg(text, reason);
}

bool ParsePostgresql(const QString& text, DatabaseTarget* target, QString* error)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) {
        *error = BadText(text, url.errorString());
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

bool ConfiguredDatabaseTarget(const SettingsStore& store, const QString& workFolder, DatabaseTarget* target,
                              QString* error)
{
    const QString text = store.GetString(SettingsSections::kDatabase, kConnectionKey).trimmed();
    if (!text.isEmpty())
        return ParseDatabaseTarget(text, target, error);
    *target = DatabaseTarget{};
    target->path = DefaultDatabasePath(workFolder);
    return true;
}
