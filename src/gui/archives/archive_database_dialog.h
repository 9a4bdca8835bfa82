#pragma once
// "База данных архивов": where "Весь архив" and the trends page keep the archives, an SQLite file (the
// work folder's own by default) or a PostgreSQL server. "Проверить соединение" tries the fields as they
// stand on a thread of its own, so the window stays alive while a server is slow to answer. OK writes
// the choice into the settings without any password: a password typed here is remembered for this run
// only, and the password of an older settings file is moved out of the file into that memory.

#include "app/app_environment.h"
#include "app/database_choice.h"
#include "archives/database_check.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QThread;

class ArchiveDatabaseDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kHelpPage = "database.html";

    ArchiveDatabaseDialog(AppEnvironment& environment, QWidget* parent = nullptr);
    ~ArchiveDatabaseDialog() override;

    void accept() override;

    // The database the fields name, with the password the check would use.
    DatabaseChoice FieldsChoice() const;
    // Whether a check is under way.
    bool IsChecking() const { return m_checkThread != nullptr; }

signals:
    void checkFinished(bool usable);

private:
    QWidget* CreateSqliteGroup();
    QWidget* CreatePostgresqlGroup();
    void Load();
    void UpdateStates();
    void Browse();
    void Check();
    void ShowCheckResult();
    // Empty when the fields can be used, else what is missing.
    QString MissingField() const;

    AppEnvironment& m_environment;
    QString m_storedPassword;  // the password an older settings file carries, for its own server
    QString m_storedKey;
    QRadioButton* m_sqlite = nullptr;
    QRadioButton* m_postgresql = nullptr;
    QWidget* m_sqliteFields = nullptr;
    QWidget* m_postgresqlFields = nullptr;
    QLineEdit* m_file = nullptr;
    QLineEdit* m_host = nullptr;
    QSpinBox* m_port = nullptr;
    QLineEdit* m_database = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QLabel* m_passwordNote = nullptr;
    QPushButton* m_check = nullptr;
    QLabel* m_checkResult = nullptr;
    std::unique_ptr<QThread> m_checkThread;
    DatabaseCheckResult m_result;  // written by the check's thread, read once it has finished
};
