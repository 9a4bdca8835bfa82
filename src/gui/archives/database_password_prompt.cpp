#include "gui/archives/database_password_prompt.h"

#include "app/app_environment.h"
#include "app/database_choice.h"

#include <QInputDialog>
#include <QLineEdit>

bool AskDatabasePasswordIfMissing(QWidget* parent, AppEnvironment& environment)
{
    DatabaseChoice choice;
    QString error;
    if (!ChooseArchiveDatabase(environment, {}, &choice, &error) || choice.passwordOrigin != PasswordOrigin::kNone)
        return true;
    const DatabaseTarget& target = choice.target;
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("databasePasswordPrompt"));
    dialog.setWindowTitle(QStringLiteral("Пароль базы данных"));
    dialog.setLabelText(QStringLiteral("Пароль пользователя \"%1\" базы данных \"%2\" на сервере %3:%4.\n"
                                       "Программа запомнит его до закрытия; в файл настроек он не пишется.\n"
                                       "Если сервер не спрашивает пароль, оставьте поле пустым.")
                            .arg(target.user, target.database, target.host)
                            .arg(target.port));
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    environment.Secrets().Remember(PasswordKey(target), dialog.textValue());
    return true;
}
