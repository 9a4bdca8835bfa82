#include "archives/database_check.h"

#include "archives/database_columns.h"
#include "archives/database_connection.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

DatabaseCheckResult Usable(const QString& text)
{
    return {true, false, text};
}

DatabaseCheckResult Unusable(const QString& text)
{
    return {false, false, text};
}

bool IsPasswordRefusal(const QString& engineText)
{
    return engineText.contains(QLatin1String("password authentication failed"), Qt::CaseInsensitive);
}

QString NextCheckConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("zt5-database-check-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString WithEngineWords(const QString& text, const QString& engineText)
{
    const QString words = engineText.trimmed();
    return words.isEmpty() ? text : text + QStringLiteral("\n(") + words + u')';
}

// The nearest folder of `path` that is there: where a file or folder would be made.
QFileInfo NearestExistingFolder(const QString& path)
{
    QDir folder = QFileInfo(path).absoluteDir();
    while (!folder.exists() && !folder.isRoot())
        folder.setPath(QDir::cleanPath(folder.absoluteFilePath(QStringLiteral(".."))));
    return QFileInfo(folder.absolutePath());
}

// Whether the archive tables are there, or else whether this user may make them.
DatabaseCheckResult LookAtTables(QSqlDatabase& database, const QString& opened)
{
    QSqlQuery query(database);
    const QString hourly = ArchiveTableName(kArchiveHourly);
    if (database.tables().contains(hourly))
        return Usable(opened + QStringLiteral(" Таблицы архивов в базе есть."));
    const bool postgresql = database.driverName() == QLatin1String("QPSQL");
    if (postgresql && query.exec(QStringLiteral("SELECT has_schema_privilege(current_schema(), 'CREATE')"))
        && query.next() && !query.value(0).toBool()) {
        return Unusable(opened
                        + QStringLiteral(" Таблиц архивов в базе нет, а создать их у пользователя нет "
                                         "права (CREATE в схеме базы): выдайте его или сделайте "
                                         "пользователя владельцем базы."));
    }
    return Usable(opened + QStringLiteral(" Таблиц архивов в базе пока нет: они будут созданы при первой выгрузке."));
}

DatabaseCheckResult CheckSqliteFile(const DatabaseTarget& target)
{
    const QFileInfo file(target.path);
    if (!file.exists()) {
        const QFileInfo folder = NearestExistingFolder(target.path);
        if (!folder.isDir() || !folder.isWritable())
            return Unusable(QStringLiteral("Файла \"%1\" нет, и создать его нельзя: нет права записи в папку \"%2\".")
                                .arg(target.path, folder.absoluteFilePath()));
        return Usable(QStringLiteral("Файла \"%1\" пока нет: он будет создан вместе с таблицами при первой выгрузке.")
                          .arg(target.path));
    }
    if (!file.isFile())
        return Unusable(QStringLiteral("\"%1\" - не файл.").arg(target.path));
    const QString name = NextCheckConnectionName();
    DatabaseCheckResult result;
    {
        QSqlDatabase database = AddDatabaseConnection(target, name);
        database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery query(database);
        if (!database.open() || !query.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
            const QString engine = database.isOpen() ? query.lastError().text() : database.lastError().text();
            result = Unusable(WithEngineWords(
                QStringLiteral("Файл \"%1\" не открывается как база данных SQLite.").arg(target.path), engine));
        } else {
            query.finish();
            result = LookAtTables(database, QStringLiteral("Файл базы данных открыт."));
            if (result.usable && !file.isWritable())
                result = Unusable(QStringLiteral("Файл \"%1\" доступен только для чтения.").arg(target.path));
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

DatabaseCheckResult CheckPostgresqlServer(const DatabaseTarget& target)
{
    if (!QSqlDatabase::isDriverAvailable(DatabaseDriverName(target)))
        return Unusable(
            QStringLiteral("Драйвер PostgreSQL для Qt (QPSQL) не установлен: нужен пакет libqt6sql6-psql."));
    const QString name = NextCheckConnectionName();
    DatabaseCheckResult result;
    {
        QSqlDatabase database = AddDatabaseConnection(target, name);
        if (!database.open()) {
            const QString engineText = database.lastError().text();
            result = {false, IsPasswordRefusal(engineText), ExplainConnectionFailure(target, engineText)};
        } else {
            result = LookAtTables(database, QStringLiteral("Соединение с сервером установлено."));
            database.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

}  // namespace

DatabaseCheckResult CheckDatabaseConnection(const DatabaseTarget& target)
{
    return target.engine == DatabaseTarget::Engine::kSqlite ? CheckSqliteFile(target) : CheckPostgresqlServer(target);
}

QString ExplainConnectionFailure(const DatabaseTarget& target, const QString& engineText)
{
    const auto says = [&engineText](const char* words) {
        return engineText.contains(QLatin1String(words), Qt::CaseInsensitive);
    };
    const QString server = QStringLiteral("%1, порт %2").arg(target.host).arg(target.port);
    QString text;
    if (IsPasswordRefusal(engineText))
        text = QStringLiteral("Сервер отклонил пароль пользователя \"%1\".").arg(target.user);
    else if (says("no password supplied"))
        text = QStringLiteral(
                   "Сервер требует пароль пользователя \"%1\", а пароль не задан: введите его или "
                   "запишите в файл паролей ~/.pgpass.")
                   .arg(target.user);
    else if (says("does not exist") && says("database"))
        text = QStringLiteral("На сервере нет базы данных \"%1\".").arg(target.database);
    else if (says("does not exist") && says("role"))
        text = QStringLiteral("На сервере нет пользователя \"%1\".").arg(target.user);
    else if (says("no pg_hba.conf entry"))
        text = QStringLiteral("Сервер не пускает пользователя \"%1\" с этого компьютера к базе \"%2\" (pg_hba.conf).")
                   .arg(target.user, target.database);
    else if (says("connection refused"))
        text = QStringLiteral(
                   "Сервер %1 не принимает соединений: проверьте адрес и порт и что PostgreSQL "
                   "запущен и слушает сеть.")
                   .arg(server);
    else if (says("timeout expired") || says("timed out"))
        text = QStringLiteral("Сервер %1 не ответил вовремя.").arg(server);
    else if (says("could not translate host name") || says("name or service not known"))
        text = QStringLiteral("Сервер \"%1\" не найден в сети.").arg(target.host);
    else
        text = QStringLiteral("Не удалось подключиться к серверу %1.").arg(server);
    return WithEngineWords(text, engineText);
}
