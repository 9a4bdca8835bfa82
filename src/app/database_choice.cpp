#include "app/database_choice.h"

#include "app/app_environment.h"
#include "app/session_secrets.h"
#include "archives/password_file.h"

#include <QDir>
#include <QUrl>

PasswordSources PasswordSources::OfProcess(const SessionSecrets* typed, const QProcessEnvironment& environment)
{
    PasswordSources sources;
    sources.environmentPassword = environment.value(QStringLiteral("PGPASSWORD"));
    sources.passwordFile = PasswordFilePath(environment);
    sources.typed = typed;
    return sources;
}

bool ChooseArchiveDatabase(SettingsStore& store, const QString& workFolder, const QString& givenText,
                           const PasswordSources& sources, DatabaseChoice* choice, QString* error)
{
    const QString given = givenText.trimmed();
    DatabaseChoice chosen;
    const bool parsed = given.isEmpty() ? ConfiguredDatabaseTarget(store, workFolder, &chosen.target, error)
                                        : ParseDatabaseTarget(given, &chosen.target, error);
    if (!parsed)
        return false;
    if (chosen.target.engine == DatabaseTarget::Engine::kPostgresql) {
        if (chosen.target.password.isEmpty())
            FindDatabasePassword(sources, &chosen);
        else
            chosen.passwordOrigin = PasswordOrigin::kConnectionText;
    }
    *choice = chosen;
    return true;
}

bool ChooseArchiveDatabase(AppEnvironment& environment, const QString& givenText, DatabaseChoice* choice,
                           QString* error)
{
    return ChooseArchiveDatabase(environment.Settings(), environment.WorkFolderPath(), givenText,
                                 PasswordSources::OfProcess(&environment.Secrets()), choice, error);
}

void FindDatabasePassword(const PasswordSources& sources, DatabaseChoice* choice)
{
    DatabaseTarget& target = choice->target;
    choice->passwordFile = sources.passwordFile;
    choice->passwordNote.clear();
    QString password;
    if (sources.typed && sources.typed->Find(PasswordKey(target), &password)) {
        target.password = password;
        choice->passwordOrigin = PasswordOrigin::kTypedThisRun;
        return;
    }
    if (!sources.environmentPassword.isEmpty()) {
        target.password = sources.environmentPassword;
        choice->passwordOrigin = PasswordOrigin::kEnvironment;
        return;
    }
    // The library looks the file up with the user it connects as: the login name when none is given.
    PasswordFileKey key{target.host, target.port, target.database, target.user};
    if (key.user.isEmpty())
        key.user = qEnvironmentVariable("USER");
    const PasswordFileLookup lookup = FindPasswordInFile(sources.passwordFile, key, &password);
    if (lookup == PasswordFileLookup::kFound) {
        target.password = password;
        choice->passwordOrigin = PasswordOrigin::kPasswordFile;
        return;
    }
    target.password.clear();
    choice->passwordOrigin = PasswordOrigin::kNone;
    choice->passwordNote = PasswordFileNote(lookup, sources.passwordFile);
}

QString PasswordKey(const DatabaseTarget& target)
{
    return StoredConnectionText(target);
}

QString StoredConnectionText(const DatabaseTarget& target)
{
    if (target.engine == DatabaseTarget::Engine::kSqlite)
        return QStringLiteral("sqlite:") + target.path;
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(target.user);
    url.setHost(target.host);
    url.setPort(target.port);
    url.setPath(u'/' + target.database);
    return url.toString(QUrl::FullyEncoded);
}

bool StoreArchiveDatabase(SettingsStore& store, const QString& workFolder, const DatabaseTarget& target)
{
    const bool workFolderFile = target.engine == DatabaseTarget::Engine::kSqlite
        && QDir::cleanPath(target.path) == QDir::cleanPath(DefaultDatabasePath(workFolder));
    const SettingValue<QString> connection = DatabaseConnectionSetting(store);
    return workFolderFile ? connection.Remove() : connection.Set(StoredConnectionText(target));
}

QString PasswordOriginText(const DatabaseChoice& choice)
{
    switch (choice.passwordOrigin) {
        case PasswordOrigin::kNotNeeded:
            return {};
        case PasswordOrigin::kConnectionText:
            return QStringLiteral("Пароль записан в строке подключения.");
        case PasswordOrigin::kTypedThisRun:
            return QStringLiteral("Пароль введен в этом сеансе работы программы.");
        case PasswordOrigin::kEnvironment:
            return QStringLiteral("Пароль берется из переменной окружения PGPASSWORD.");
        case PasswordOrigin::kPasswordFile:
            return QStringLiteral("Пароль берется из файла паролей \"%1\".").arg(choice.passwordFile);
        case PasswordOrigin::kNone:
            break;
    }
    QString text = QStringLiteral("Пароль не найден: программа спросит его при первом обращении к базе.");
    if (!choice.passwordNote.isEmpty())
        text += u'\n' + choice.passwordNote;
    return text;
}
