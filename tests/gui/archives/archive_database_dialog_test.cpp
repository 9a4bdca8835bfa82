// "Настройки программы" -> "База данных архивов..." against the PostgreSQL server of the test run: the
// check with a wrong password, a closed port and the right password, OK storing the server without any
// password; the archives page then exports into that server, asking the password once a run (and again
// after a wrong one); and a settings file of an older version with the password in it keeps working and
// loses the password on OK.

#include "gui_rigs/archive_page_rig.h"

#include "app/database_choice.h"
#include "gui/archives/archive_database_dialog.h"
#include "gui/archives/archive_page_controls.h"
#include "gui/archives/export_progress_view.h"
#include "gui_rigs/dialog_driving.h"
#include "support/scoped_environment.h"
#include "support/test_postgresql.h"

#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QVariant>

#include <gtest/gtest.h>

namespace {

constexpr int kCheckMs = 15000;

// The machine's own password sources are kept out: no PGPASSWORD, a password file that is not there.
struct NoPasswordSources {
    ScopedEnvironmentVariable password{"PGPASSWORD", QByteArray()};
    ScopedEnvironmentVariable file{"PGPASSFILE", QByteArrayLiteral("/nonexistent/zt5-pgpass")};
};

QString FileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Fills the PostgreSQL fields as a user types them; the password only when one is given.
void FillServer(ArchiveDatabaseDialog& dialog, const DatabaseTarget& server, const QString& password)
{
    NamedChild<QRadioButton>(dialog, QStringLiteral("postgresqlChoice"))->click();
    for (const char* name : {"host", "database", "user", "password"})
        NamedChild<QLineEdit>(dialog, QLatin1String(name))->clear();
    TypeText(NamedChild<QLineEdit>(dialog, QStringLiteral("host")), server.host);
    NamedChild<QSpinBox>(dialog, QStringLiteral("port"))->setValue(server.port);
    TypeText(NamedChild<QLineEdit>(dialog, QStringLiteral("database")), server.database);
    TypeText(NamedChild<QLineEdit>(dialog, QStringLiteral("user")), server.user);
    if (!password.isEmpty())
        TypeText(NamedChild<QLineEdit>(dialog, QStringLiteral("password")), password);
}

// Presses "Проверить соединение" and waits for the answer, which it returns.
QString CheckConnection(ArchiveDatabaseDialog& dialog)
{
    QSignalSpy finished(&dialog, &ArchiveDatabaseDialog::checkFinished);
    QTest::mouseClick(NamedChild<QPushButton>(dialog, QStringLiteral("checkButton")), Qt::LeftButton);
    // The click returns at once: the window goes on while the server is asked.
    EXPECT_TRUE(dialog.IsChecking() || finished.count() == 1);
    EXPECT_TRUE(finished.wait(kCheckMs) || finished.count() == 1);
    return NamedChild<QLabel>(dialog, QStringLiteral("checkResult"))->text();
}

class PostgresqlDatabaseDialog : public OwnPostgresqlDatabaseTest {
protected:
    void SetUp() override
    {
        OwnPostgresqlDatabaseTest::SetUp();
        database = target.database;
    }

    qint64 HourlyRows()
    {
        QVariant rows;
        QString error;
        EXPECT_TRUE(
            server.Query(database, QStringLiteral("SELECT COUNT(*) FROM \"ZT5_Arch_Values_Hour\""), &rows, &error))
            << qPrintable(error);
        return rows.toLongLong();
    }

    // "Весь архив" on the connected page, until the export has finished; the text it ends with.
    static QString ExportAll(ArchivePageRig& rig)
    {
        const ArchivePageControls& c = rig.Page()->Controls();
        EXPECT_TRUE(rig.ClickAndWait(c.exportAll));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !c.exportProgress->IsRunning(); }, ArchivePageRig::kArrivesMs));
        return c.exportProgress->Text();
    }

    NoPasswordSources noPasswords;
    QString database;
};

}  // namespace

TEST_F(PostgresqlDatabaseDialog, CheckTellsWhatIsWrongAndOkStoresTheServerWithoutThePassword)
{
    QTemporaryDir folder;
    const QString settingsFile = folder.filePath(QStringLiteral("settings.ini"));
    AppEnvironment environment(settingsFile, WorkFolder(folder.path()));
    ArchiveDatabaseDialog dialog(environment);
    dialog.show();
    EXPECT_TRUE(NamedChild<QRadioButton>(dialog, QStringLiteral("sqliteChoice"))->isChecked());
    EXPECT_EQ(NamedChild<QLineEdit>(dialog, QStringLiteral("sqliteFile"))->text(), DefaultDatabasePath(folder.path()));

    FillServer(dialog, target, QStringLiteral("wrong"));
    QString answer = CheckConnection(dialog);
    EXPECT_TRUE(answer.startsWith(QStringLiteral("Сервер отклонил пароль пользователя \"zt5_password\".")))
        << qPrintable(answer);

    DatabaseTarget closed = target;
    closed.port = TestPostgresql::ClosedPort();
    FillServer(dialog, closed, QLatin1String(TestPostgresql::kPassword));
    answer = CheckConnection(dialog);
    EXPECT_TRUE(answer.contains(QStringLiteral("порт %1 не принимает соединений").arg(closed.port)))
        << qPrintable(answer);

    FillServer(dialog, target, QString());
    EXPECT_TRUE(NamedChild<QLabel>(dialog, QStringLiteral("passwordNote"))
                    ->text()
                    .startsWith(QStringLiteral("Пароль не найден")));
    answer = CheckConnection(dialog);
    EXPECT_TRUE(answer.startsWith(QStringLiteral("Сервер требует пароль"))) << qPrintable(answer);

    TypeText(NamedChild<QLineEdit>(dialog, QStringLiteral("password")), QLatin1String(TestPostgresql::kPassword));
    answer = CheckConnection(dialog);
    EXPECT_TRUE(answer.startsWith(QStringLiteral("Соединение с сервером установлено."))) << qPrintable(answer);

    ClickStandardButton(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const QString onDisk = FileText(settingsFile);
    EXPECT_TRUE(onDisk.contains(
        QStringLiteral("Connection=postgresql://zt5_password@127.0.0.1:%1/%2").arg(target.port).arg(database)))
        << qPrintable(onDisk);
    EXPECT_FALSE(onDisk.contains(QLatin1String(TestPostgresql::kPassword))) << qPrintable(onDisk);
    // The password holds for the rest of the run.
    DatabaseChoice choice;
    QString error;
    ASSERT_TRUE(ChooseArchiveDatabase(environment, {}, &choice, &error)) << qPrintable(error);
    EXPECT_EQ(choice.passwordOrigin, PasswordOrigin::kTypedThisRun);
    EXPECT_EQ(choice.target.password, QLatin1String(TestPostgresql::kPassword));
}

TEST_F(PostgresqlDatabaseDialog, ArchivesPageExportsIntoTheChosenServerAskingThePasswordUntilRight)
{
    ArchivePageRig rig(Chrono(26, 2, 2024, 12), 2);
    // The window's own menu item, the server chosen without a password.
    QAction* item = nullptr;
    for (QAction* action : rig.window->menuBar()->findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("База данных архивов..."))
            item = action;
    }
    ASSERT_NE(item, nullptr);
    {
        ModalHandler fill([&](QDialog& dialog) {
            auto* chooser = qobject_cast<ArchiveDatabaseDialog*>(&dialog);
            ASSERT_NE(chooser, nullptr);
            FillServer(*chooser, target, QString());
            chooser->accept();
        });
        item->trigger();
        EXPECT_EQ(fill.Handled(), 1);
    }
    ASSERT_TRUE(rig.Connect());

    // Cancelling the question leaves the export unstarted.
    {
        ModalHandler cancel([](QDialog& dialog) { dialog.reject(); });
        QTest::mouseClick(rig.Page()->Controls().exportAll, Qt::LeftButton);
        EXPECT_EQ(cancel.Handled(), 1);
    }
    EXPECT_FALSE(rig.Driver().IsBusy());

    // The first answer is wrong: the export says so and forgets it; the next one asks again.
    int asked = 0;
    ModalHandler answer([&](QDialog& dialog) {
        auto* prompt = qobject_cast<QInputDialog*>(&dialog);
        ASSERT_NE(prompt, nullptr);
        EXPECT_TRUE(prompt->labelText().contains(database));
        ++asked;
        prompt->setTextValue(asked == 1 ? QStringLiteral("wrong") : QLatin1String(TestPostgresql::kPassword));
        prompt->accept();
    });
    const QString refused = ExportAll(rig);
    EXPECT_FALSE(refused.startsWith(QStringLiteral("Весь архив в базе данных."))) << qPrintable(refused);
    ASSERT_EQ(rig.windowRig.presenter.messages.size(), 1);
    EXPECT_TRUE(rig.windowRig.presenter.messages[0].text.startsWith(
        QStringLiteral("Сервер отклонил пароль пользователя \"zt5_password\".")))
        << qPrintable(rig.windowRig.presenter.messages[0].text);
    rig.windowRig.presenter.messages.clear();
    EXPECT_EQ(asked, 1);

    const QString first = ExportAll(rig);
    EXPECT_TRUE(first.startsWith(QStringLiteral("Весь архив в базе данных."))) << qPrintable(first);
    EXPECT_TRUE(rig.windowRig.presenter.messages.isEmpty());
    const qint64 rows = HourlyRows();
    EXPECT_GT(rows, 24);
    EXPECT_EQ(asked, 2);

    // Asked once a run: the second export goes straight in, and finds everything there.
    const QString second = ExportAll(rig);
    EXPECT_TRUE(second.contains(QStringLiteral("Записано: 0\n"))) << qPrintable(second);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(HourlyRows(), rows);
    EXPECT_FALSE(FileText(rig.windowRig.SettingsFile()).contains(QLatin1String(TestPostgresql::kPassword)));
}

TEST_F(PostgresqlDatabaseDialog, OlderSettingsWithThePasswordKeepWorkingAndOkTakesItOutOfTheFile)
{
    ArchivePageRig rig(Chrono(26, 2, 2024, 12), 2);
    const QString older = QStringLiteral("postgresql://zt5_password:%1@127.0.0.1:%2/%3")
                              .arg(QLatin1String(TestPostgresql::kPassword))
                              .arg(target.port)
                              .arg(database);
    ASSERT_TRUE(rig.windowRig.environment->Settings().SetString(QStringLiteral("Settings\\Database"),
                                                                QStringLiteral("Connection"), older));
    ASSERT_TRUE(rig.Connect());
    ModalHandler nothingAsked([](QDialog& dialog) { dialog.reject(); });
    EXPECT_TRUE(ExportAll(rig).startsWith(QStringLiteral("Весь архив в базе данных.")));
    EXPECT_GT(HourlyRows(), 24);

    {
        ArchiveDatabaseDialog dialog(*rig.windowRig.environment, rig.window.get());
        EXPECT_TRUE(NamedChild<QRadioButton>(dialog, QStringLiteral("postgresqlChoice"))->isChecked());
        EXPECT_EQ(NamedChild<QLineEdit>(dialog, QStringLiteral("password"))->text(), QString());
        EXPECT_TRUE(NamedChild<QLabel>(dialog, QStringLiteral("passwordNote"))
                        ->text()
                        .contains(QStringLiteral("открытым текстом")));
        EXPECT_TRUE(CheckConnection(dialog).startsWith(
            QStringLiteral("Соединение с сервером установлено. Таблицы архивов в базе есть.")));
        dialog.accept();
    }
    const QString onDisk = FileText(rig.windowRig.SettingsFile());
    EXPECT_FALSE(onDisk.contains(QLatin1String(TestPostgresql::kPassword))) << qPrintable(onDisk);
    EXPECT_TRUE(onDisk.contains(QStringLiteral("Connection=postgresql://zt5_password@127.0.0.1")))
        << qPrintable(onDisk);
    // The rest of the run still has it: no question.
    EXPECT_TRUE(ExportAll(rig).contains(QStringLiteral("Записано: 0\n")));
    EXPECT_EQ(nothingAsked.Handled(), 0);
    EXPECT_TRUE(rig.windowRig.presenter.messages.isEmpty());
}
