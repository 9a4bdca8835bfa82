#include "app/app_environment.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>

namespace {

class AppEnvironmentTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("my.ini"));
    const QString program = dir.filePath(QStringLiteral("program"));
    const QString work = dir.filePath(QStringLiteral("work"));
};

TEST_F(AppEnvironmentTest, OverridesNameTheStoreAndTheWorkFolder)
{
    AppEnvironment environment(StartupOverrides{settings, work});
    EXPECT_EQ(environment.Settings().FilePath(), settings);
    ASSERT_TRUE(WriteProgramOptions(environment.Settings(), ProgramOptions{0, QStringLiteral("/elsewhere")}));
    EXPECT_EQ(environment.WorkFolderPath(), work);

    AppEnvironment plain;
    EXPECT_TRUE(plain.Settings().FilePath().endsWith(QStringLiteral("/settings.ini")));
}

TEST_F(AppEnvironmentTest, FoldersNamedOnTheCommandLineAreMade)
{
    // --settings in a folder that is not there yet: made at start, so the store can be written.
    const QString deepSettings = dir.filePath(QStringLiteral("conf/zt5/my.ini"));
    const QString deepWork = dir.filePath(QStringLiteral("data/zt5/work"));
    AppEnvironment environment(StartupOverrides{deepSettings, deepWork});
    EXPECT_TRUE(environment.SettingsFolderFailure().IsEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("conf/zt5"))).isDir());
    EXPECT_TRUE(WriteProgramOptions(environment.Settings(), ProgramOptions{}));
    EXPECT_TRUE(QFile::exists(deepSettings));
    NodeBase base;
    UserMessage message;
    EXPECT_TRUE(environment.LoadNodeBase(base, &message)) << message.text.toStdString();
    EXPECT_TRUE(QFileInfo(deepWork + QStringLiteral("/Base")).isDir());

    // Under a regular file neither can be made: the message says so, the store stays in memory.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString badFolder = dir.filePath(QStringLiteral("blocker/conf"));
    AppEnvironment blocked(
        StartupOverrides{badFolder + QStringLiteral("/my.ini"), dir.filePath(QStringLiteral("blocker/work"))});
    EXPECT_EQ(blocked.SettingsFolderFailure().text,
              QStringLiteral("Невозможно создать папку настроек \"") + badFolder + QStringLiteral("\"!\r\n(")
                  + qt_error_string(ENOTDIR) + QStringLiteral(")!"));
    EXPECT_FALSE(WriteProgramOptions(blocked.Settings(), ProgramOptions{}));
    EXPECT_FALSE(blocked.LoadNodeBase(base, &message));
    EXPECT_TRUE(message.text.startsWith(QStringLiteral("Невозможно создать папку настроек")))
        << message.text.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("blocker"))).isFile());
}

TEST_F(AppEnvironmentTest, NodeIsFoundByNameInTheBaseOfTheChosenFolder)
{
    ASSERT_TRUE(QDir().mkpath(work));
    AppEnvironment environment(settings, WorkFolder(program));
    ASSERT_TRUE(WriteProgramOptions(environment.Settings(), ProgramOptions{0, work}));

    NodeBase base;
    NodeEntry demo{NodeRecord::New(3, FreePortTable::AllFree())};
    demo.record.SetName(QStringLiteral("Демо-прибор"));
    demo.record.SetIpAddress(QStringLiteral("127.0.0.1"));
    demo.record.SetIpPort(40123);
    base.Append(NodeEntry{NodeRecord::New(1, FreePortTable::AllFree())});
    base.Append(demo);
    UserMessage message;
    ASSERT_TRUE(environment.SaveNodeBase(base, &message)) << message.text.toStdString();
    EXPECT_TRUE(QFile::exists(work + QStringLiteral("/Base/Objects.bin")));
    EXPECT_FALSE(QFile::exists(program));

    // Another program run (zt5ctl --settings my.ini --node ...) reads the same base.
    AppEnvironment later(settings, WorkFolder(program));
    NodeEntry found;
    ASSERT_TRUE(later.FindNode(QStringLiteral("Демо-прибор"), &found, &message)) << message.text.toStdString();
    EXPECT_EQ(found.record.IpAddress(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(found.record.IpPort(), 40123);

    EXPECT_FALSE(later.FindNode(QStringLiteral("Нет такого"), &found, &message));
    EXPECT_EQ(message.text, QStringLiteral("Узел учета \"Нет такого\" не найден!"));

    // A work folder that is a file: the check's message, and no base.
    ASSERT_TRUE(WriteProgramOptions(later.Settings(), ProgramOptions{0, settings}));
    EXPECT_FALSE(later.LoadNodeBase(base, &message));
    EXPECT_TRUE(base.IsEmpty());
    EXPECT_EQ(message.text,
              QStringLiteral("Указанная папка \"") + settings
                  + QStringLiteral("\" для сохранения служебной информации не найдена!!"));
}

}  // namespace
