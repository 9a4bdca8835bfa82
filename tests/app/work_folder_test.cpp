#include "app/work_folder.h"
#include "base/app_location.h"
#include "support/qt_printers.h"
#include "support/read_only_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>

namespace {

class WorkFolderTest : public ::testing::Test {
protected:
    void MakeFile(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a folder");
    }

    void ExpectInformation(const UserMessage& message, const QString& text)
    {
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.caption, QStringLiteral("Информация"));
        EXPECT_EQ(message.style, 0x40u);
    }

    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
};

TEST_F(WorkFolderTest, FirstRunCreatesBaseInTheProgramFolder)
{
    // The data folder of a fresh account does not exist yet either.
    const WorkFolder folder(program);
    const ProgramOptions options;  // as read from a missing settings.ini
    EXPECT_EQ(folder.Path(options), program);
    EXPECT_EQ(folder.BaseFolder(options), program + QStringLiteral("/Base"));
    UserMessage message;
    ASSERT_TRUE(folder.Check(options, &message)) << message.text.toStdString();
    EXPECT_TRUE(message.IsEmpty());
    EXPECT_TRUE(QFileInfo(program + QStringLiteral("/Base")).isDir());
    EXPECT_TRUE(folder.Check(options, nullptr));  // silent, and already there

    // The chosen folder is ignored while "UseWorkFolder" is set.
    EXPECT_EQ(folder.Path(ProgramOptions{1, QStringLiteral("/elsewhere")}), program);
}

TEST_F(WorkFolderTest, NamedFolderMustExistAndBeAFolder)
{
    const WorkFolder folder(program);
    const QString missing = dir.filePath(QStringLiteral("missing"));
    UserMessage message;
    EXPECT_FALSE(folder.Check(ProgramOptions{0, missing}, &message));
    ExpectInformation(message,
                      QStringLiteral("Указанная папка \"") + missing
                          + QStringLiteral("\" для сохранения служебной информации не найдена!"));
    EXPECT_FALSE(QFileInfo::exists(missing));

    EXPECT_FALSE(folder.Check(ProgramOptions{0, QString()}, &message));
    ExpectInformation(message, QStringLiteral("Указанная папка \"\" для сохранения служебной информации не найдена!"));

    const QString file = dir.filePath(QStringLiteral("file"));
    MakeFile(file);
    EXPECT_FALSE(folder.Check(ProgramOptions{0, file}, &message));
    ExpectInformation(message,
                      QStringLiteral("Указанная папка \"") + file
                          + QStringLiteral("\" для сохранения служебной информации не найдена!!"));
    EXPECT_FALSE(folder.Check(ProgramOptions{0, file}, nullptr));  // silent: the same answer, no message

    const QString chosen = dir.filePath(QStringLiteral("chosen"));
    ASSERT_TRUE(QDir().mkdir(chosen));
    EXPECT_TRUE(folder.Check(ProgramOptions{0, chosen}, &message));
    EXPECT_TRUE(QFileInfo(chosen + QStringLiteral("/Base")).isDir());
}

TEST_F(WorkFolderTest, BaseThatCannotBeCreatedIsAnError)
{
    const QString chosen = dir.filePath(QStringLiteral("chosen"));
    ASSERT_TRUE(QDir().mkdir(chosen));
    MakeFile(chosen + QStringLiteral("/Base"));
    const WorkFolder folder(program);
    UserMessage message;
    EXPECT_FALSE(folder.Check(ProgramOptions{0, chosen}, &message));
    EXPECT_EQ(message.text,
              QStringLiteral("Невозможно создать папку настроек \"") + chosen + QStringLiteral("/Base\"!\r\n(")
                  + qt_error_string(EEXIST) + QStringLiteral(")!"));
    EXPECT_EQ(message.caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(message.style, 0x10u);
    EXPECT_TRUE(QFileInfo(chosen + QStringLiteral("/Base")).isFile());  // the user's file is left alone

    ReadOnlyFolder locked;
    ASSERT_TRUE(locked.Lock());
    const bool created = folder.Check(ProgramOptions{0, locked.Path()}, &message);
    locked.Unlock();
    EXPECT_FALSE(created);
    EXPECT_EQ(message.text,
              QStringLiteral("Невозможно создать папку настроек \"") + locked.Path() + QStringLiteral("/Base\"!\r\n(")
                  + qt_error_string(EACCES) + QStringLiteral(")!"));
}

TEST_F(WorkFolderTest, WorkdirOptionOverridesTheOptions)
{
    // A --workdir folder that is not there yet is made with its parents on the first check.
    const QString given = dir.filePath(QStringLiteral("given/deeper/work"));
    const WorkFolder folder(program, given);
    EXPECT_EQ(folder.Path(ProgramOptions{}), given);
    EXPECT_EQ(folder.Path(ProgramOptions{0, QStringLiteral("/elsewhere")}), given);
    UserMessage message;
    ASSERT_TRUE(folder.Check(ProgramOptions{}, &message)) << message.text.toStdString();
    EXPECT_TRUE(QFileInfo(given).isDir());
    EXPECT_TRUE(QFileInfo(given + QStringLiteral("/Base")).isDir());
    EXPECT_FALSE(QFileInfo::exists(program));
    EXPECT_TRUE(folder.Check(ProgramOptions{}, &message));

    // A folder stored in the options is not made: it must exist.
    const QString stored = dir.filePath(QStringLiteral("stored/work"));
    EXPECT_FALSE(WorkFolder(program).Check(ProgramOptions{0, stored}, &message));
    EXPECT_EQ(message.text,
              QStringLiteral("Указанная папка \"") + stored
                  + QStringLiteral("\" для сохранения служебной информации не найдена!"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("stored"))));
}

TEST_F(WorkFolderTest, WorkdirThatCannotBeMadeIsAnError)
{
    // Under a regular file nothing can be made: the system's reason, and nothing is left behind.
    const QString file = dir.filePath(QStringLiteral("plain"));
    MakeFile(file);
    const QString under = file + QStringLiteral("/work");
    UserMessage message;
    EXPECT_FALSE(WorkFolder(program, under).Check(ProgramOptions{}, &message));
    EXPECT_EQ(message.text,
              QStringLiteral("Невозможно создать папку настроек \"") + under + QStringLiteral("\"!\r\n(")
                  + qt_error_string(ENOTDIR) + QStringLiteral(")!"));
    EXPECT_EQ(message.caption, QStringLiteral("Ошибка"));
    EXPECT_TRUE(QFileInfo(file).isFile());

    // A read-only parent: the reason is the permission.
    ReadOnlyFolder locked;
    ASSERT_TRUE(locked.Lock());
    const QString denied = locked.Path() + QStringLiteral("/a/b");
    const bool made = WorkFolder(program, denied).Check(ProgramOptions{}, &message);
    locked.Unlock();
    EXPECT_FALSE(made);
    EXPECT_EQ(message.text,
              QStringLiteral("Невозможно создать папку настроек \"") + denied + QStringLiteral("\"!\r\n(")
                  + qt_error_string(EACCES) + QStringLiteral(")!"));
    EXPECT_FALSE(QFileInfo::exists(locked.Path() + QStringLiteral("/a")));

    // A regular file named as the folder itself is no folder, as before.
    EXPECT_FALSE(WorkFolder(program, file).Check(ProgramOptions{}, &message));
    EXPECT_TRUE(message.text.endsWith(QStringLiteral("не найдена!!")));
}

TEST_F(WorkFolderTest, InstalledProgramKeepsItsFilesInTheUsersFolders)
{
    ReadOnlyFolder installed;
    const QString data = dir.filePath(QStringLiteral("data"));
    ASSERT_TRUE(installed.Lock());
    const QString chosen = PortableFolderOr(installed.Path(), data);
    installed.Unlock();
    EXPECT_EQ(chosen, data);
    EXPECT_EQ(PortableFolderOr(dir.path(), data), dir.path());
    EXPECT_FALSE(WorkFolder::ForThisProgram().DefaultFolder().isEmpty());

    // Installed by the package: never next to the executable, even for root, who could write there.
    EXPECT_EQ(PortableFolderOr(QStringLiteral("/usr/bin"), data), data);
    EXPECT_EQ(PortableFolderOr(QStringLiteral("/usr/local/bin/"), data), data);
    EXPECT_TRUE(IsSystemProgramFolder(QStringLiteral("/bin")));
    EXPECT_TRUE(IsSystemProgramFolder(QStringLiteral("/opt/zt5/bin")));
    EXPECT_TRUE(IsSystemProgramFolder(QStringLiteral("/lib/zt5")));
    EXPECT_FALSE(IsSystemProgramFolder(QStringLiteral("/optional")));
    EXPECT_FALSE(IsSystemProgramFolder(QStringLiteral("/usrlocal/bin")));
    EXPECT_FALSE(IsSystemProgramFolder(dir.path()));
}

// zt5ctl and the desktop program find one settings file and one node base in the user's folders.
TEST_F(WorkFolderTest, UserFoldersAreSharedByThePrograms)
{
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("cfg")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("share")).toLocal8Bit());
    const QString config = UserConfigFolder();
    const QString data = UserDataFolder();
    const auto restore = [](const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("XDG_CONFIG_HOME", oldConfig);
    restore("XDG_DATA_HOME", oldData);
    EXPECT_EQ(config, dir.filePath(QStringLiteral("cfg/zt5-configurator")));
    EXPECT_EQ(data, dir.filePath(QStringLiteral("share/zt5-configurator")));
}

}  // namespace
