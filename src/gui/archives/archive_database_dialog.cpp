#include "gui/archives/archive_database_dialog.h"

#include "gui/widgets/help_window.h"
#include "gui/widgets/message_box.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

namespace {

constexpr int kDefaultPort = 5432;

QLineEdit* NamedEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLabel* NoteLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

ArchiveDatabaseDialog::ArchiveDatabaseDialog(AppEnvironment& environment, QWidget* parent)
    : QDialog(parent), m_environment(environment)
{
    setWindowTitle(QStringLiteral("База данных архивов"));
    m_sqlite = new QRadioButton(QStringLiteral("Файл SQLite"), this);
    m_sqlite->setObjectName(QStringLiteral("sqliteChoice"));
    m_postgresql = new QRadioButton(QStringLiteral("Сервер PostgreSQL"), this);
    m_postgresql->setObjectName(QStringLiteral("postgresqlChoice"));
    m_check = new QPushButton(QStringLiteral("Проверить соединение"), this);
    m_check->setObjectName(QStringLiteral("checkButton"));
    m_checkResult = NoteLabel("checkResult", this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help,
                                         this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("Справка"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ArchiveDatabaseDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ArchiveDatabaseDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { HelpWindow::ShowHelp(this, QLatin1String(kHelpPage)); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sqlite);
    layout->addWidget(CreateSqliteGroup());
    layout->addWidget(m_postgresql);
    layout->addWidget(CreatePostgresqlGroup());
    auto* checkRow = new QHBoxLayout;
    checkRow->addWidget(m_check);
    checkRow->addStretch(1);
    layout->addLayout(checkRow);
    layout->addWidget(m_checkResult);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(m_sqlite, &QRadioButton::toggled, this, &ArchiveDatabaseDialog::UpdateStates);
    connect(m_check, &QPushButton::clicked, this, &ArchiveDatabaseDialog::Check);
    for (QLineEdit* edit : {m_host, m_database, m_user, m_password})
        connect(edit, &QLineEdit::textChanged, this, &ArchiveDatabaseDialog::UpdateStates);
    connect(m_port, &QSpinBox::valueChanged, this, &ArchiveDatabaseDialog::UpdateStates);
    Load();
    resize(520, sizeHint().height());
}

ArchiveDatabaseDialog::~ArchiveDatabaseDialog()
{
    // A check under way ends within the connect time-out; its connection must not outlive it.
    if (m_checkThread)
        m_checkThread->wait();
}

QWidget* ArchiveDatabaseDialog::CreateSqliteGroup()
{
    m_sqliteFields = new QWidget(this);
    m_file = NamedEdit("sqliteFile", m_sqliteFields);
    auto* browse = new QPushButton(QStringLiteral("Обзор..."), m_sqliteFields);
    browse->setObjectName(QStringLiteral("browseButton"));
    connect(browse, &QPushButton::clicked, this, &ArchiveDatabaseDialog::Browse);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Файл:"), m_sqliteFields));
    row->addWidget(m_file, 1);
    row->addWidget(browse);
    auto* fields = new QVBoxLayout(m_sqliteFields);
    fields->addLayout(row);
    fields->addWidget(
        new QLabel(QStringLiteral("По умолчанию - \"%1\"").arg(DefaultDatabasePath(m_environment.WorkFolderPath())),
                   m_sqliteFields));
    return m_sqliteFields;
}

QWidget* ArchiveDatabaseDialog::CreatePostgresqlGroup()
{
    m_postgresqlFields = new QWidget(this);
    m_host = NamedEdit("host", m_postgresqlFields);
    m_port = new QSpinBox(m_postgresqlFields);
    m_port->setObjectName(QStringLiteral("port"));
    m_port->setRange(1, 65535);
    m_port->setValue(kDefaultPort);
    m_database = NamedEdit("database", m_postgresqlFields);
    m_user = NamedEdit("user", m_postgresqlFields);
    m_password = NamedEdit("password", m_postgresqlFields);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("не сохраняется в файле настроек"));
    m_passwordNote = NoteLabel("passwordNote", m_postgresqlFields);
    auto* form = new QFormLayout(m_postgresqlFields);
    form->addRow(QStringLiteral("Сервер:"), m_host);
    form->addRow(QStringLiteral("Порт:"), m_port);
    form->addRow(QStringLiteral("База данных:"), m_database);
    form->addRow(QStringLiteral("Пользователь:"), m_user);
    form->addRow(QStringLiteral("Пароль:"), m_password);
    form->addRow(m_passwordNote);
    return m_postgresqlFields;
}

void ArchiveDatabaseDialog::Load()
{
    DatabaseChoice stored;
    QString error;
    const QString workFile = DefaultDatabasePath(m_environment.WorkFolderPath());
    m_file->setText(workFile);
    if (!ChooseArchiveDatabase(m_environment, {}, &stored, &error)) {
        // The stored text is kept until OK replaces it; the user sees why it is not used.
        m_checkResult->setText(error);
        m_sqlite->setChecked(true);
        UpdateStates();
        return;
    }
    const DatabaseTarget& target = stored.target;
    if (target.engine == DatabaseTarget::Engine::kSqlite) {
        m_file->setText(target.path);
        m_sqlite->setChecked(true);
    } else {
        m_host->setText(target.host);
        m_port->setValue(target.port);
        m_database->setText(target.database);
        m_user->setText(target.user);
        m_postgresql->setChecked(true);
        if (stored.passwordOrigin == PasswordOrigin::kConnectionText) {
            m_storedPassword = target.password;
            m_storedKey = PasswordKey(target);
        }
    }
    UpdateStates();
}

DatabaseChoice ArchiveDatabaseDialog::FieldsChoice() const
{
    DatabaseChoice choice;
    DatabaseTarget& target = choice.target;
    if (m_sqlite->isChecked()) {
        target.path = m_file->text().trimmed();
        return choice;
    }
    target.engine = DatabaseTarget::Engine::kPostgresql;
    target.host = m_host->text().trimmed();
    target.port = m_port->value();
    target.database = m_database->text().trimmed();
    target.user = m_user->text().trimmed();
    if (!m_password->text().isEmpty()) {
        target.password = m_password->text();
        choice.passwordOrigin = PasswordOrigin::kTypedThisRun;
    } else if (!m_storedPassword.isEmpty() && PasswordKey(target) == m_storedKey) {
        target.password = m_storedPassword;
        choice.passwordOrigin = PasswordOrigin::kConnectionText;
    } else {
        FindDatabasePassword(PasswordSources::OfProcess(&m_environment.Secrets()), &choice);
    }
    return choice;
}

void ArchiveDatabaseDialog::UpdateStates()
{
    const bool postgresql = m_postgresql->isChecked();
    m_sqliteFields->setEnabled(!postgresql);
    m_postgresqlFields->setEnabled(postgresql);
    if (!postgresql)
        return;
    const DatabaseChoice choice = FieldsChoice();
    QString note = PasswordOriginText(choice);
    if (choice.passwordOrigin == PasswordOrigin::kConnectionText)
        note = QStringLiteral(
            "Пароль записан в файле настроек открытым текстом. После «OK» он будет удален "
            "из файла (до закрытия программы она его помнит); чтобы не вводить его снова, "
            "запишите его в файл паролей ~/.pgpass - см. «Справка».");
    m_passwordNote->setText(note);
}

void ArchiveDatabaseDialog::Browse()
{
    const QString file = QFileDialog::getSaveFileName(
        this, QStringLiteral("Файл базы данных архивов"), m_file->text(),
        QStringLiteral("База данных SQLite (*.sqlite *.db);;Все файлы (*)"), nullptr,
        QFileDialog::DontConfirmOverwrite);
    if (!file.isEmpty())
        m_file->setText(file);
}

QString ArchiveDatabaseDialog::MissingField() const
{
    if (m_sqlite->isChecked()) {
        const QString file = m_file->text().trimmed();
        if (file.isEmpty())
            return QStringLiteral("Укажите файл базы данных SQLite.");
        // A relative name would move with the program's current folder.
        if (!QFileInfo(file).isAbsolute())
            return QStringLiteral("Укажите полный путь к файлу базы данных (от корня, \"/\").");
        return {};
    }
    if (m_host->text().trimmed().isEmpty())
        return QStringLiteral("Укажите сервер PostgreSQL.");
    if (m_database->text().trimmed().isEmpty())
        return QStringLiteral("Укажите имя базы данных.");
    return {};
}

void ArchiveDatabaseDialog::Check()
{
    if (m_checkThread)
        return;
    const QString missing = MissingField();
    if (!missing.isEmpty()) {
        m_checkResult->setText(missing);
        return;
    }
    const DatabaseTarget target = FieldsChoice().target;
    m_check->setEnabled(false);
    m_checkResult->setText(QStringLiteral("Проверка соединения..."));
    m_checkThread.reset(QThread::create([this, target] { m_result = CheckDatabaseConnection(target); }));
    connect(m_checkThread.get(), &QThread::finished, this, &ArchiveDatabaseDialog::ShowCheckResult);
    m_checkThread->start();
}

void ArchiveDatabaseDialog::ShowCheckResult()
{
    m_checkThread->wait();
    m_checkThread.reset();
    m_check->setEnabled(true);
    m_checkResult->setText(m_result.text);
    emit checkFinished(m_result.usable);
}

void ArchiveDatabaseDialog::accept()
{
    const QString missing = MissingField();
    if (!missing.isEmpty()) {
        ShowMessageBox(this, UserMessage::Information(missing));
        return;
    }
    const DatabaseChoice choice = FieldsChoice();
    SettingsStore& settings = m_environment.Settings();
    if (!StoreArchiveDatabase(settings, m_environment.WorkFolderPath(), choice.target)) {
        ShowMessageBox(this, UserMessage::Error(settings.LastError()));
        return;
    }
    // What was typed, and a password the file no longer carries, hold for the rest of the run.
    const PasswordOrigin origin = choice.passwordOrigin;
    if (origin == PasswordOrigin::kTypedThisRun || origin == PasswordOrigin::kConnectionText)
        m_environment.Secrets().Remember(PasswordKey(choice.target), choice.target.password);
    QDialog::accept();
}
