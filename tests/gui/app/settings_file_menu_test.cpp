// The "Файл" menu: a settings file opened into the driver's configuration, its folder remembered; a file
// that is no settings file changes nothing. (The file dialog itself is Qt's and left out: driving it in
// a test is at the mercy of its directory model's timing.)

#include "gui_rigs/main_window_rig.h"

#include "base/setting_value.h"
#include "base/settings_sections.h"
#include "config/tunes_file.h"
#include "support/known_configuration.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

namespace {

class NoMessages : public ConfigMessageHost {
public:
    int ShowMessage(const QString&, const QString&, unsigned) override { return 1; }
};

bool SameBlocks(const ConfigurationBlocks& a, const ConfigurationBlocks& b)
{
    return std::memcmp(&a.tunes, &b.tunes, sizeof a.tunes) == 0 && std::memcmp(&a.open, &b.open, sizeof a.open) == 0
        && std::memcmp(&a.controls, &b.controls, sizeof a.controls) == 0;
}

}  // namespace

TEST(SettingsFileMenu, OpensIntoTheDriversConfiguration)
{
    MainWindowRig rig;
    const QString folder = QDir(rig.Folder()).filePath(QStringLiteral("files"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString known = QDir(folder).filePath(QStringLiteral("known.zt5"));
    NoMessages quiet;
    ASSERT_TRUE(SaveTunesFile(known, KnownConfiguration(), quiet));

    auto window = rig.OpenWindow();
    EXPECT_TRUE(window->OpenSettingsFileNamed(known));
    EXPECT_TRUE(SameBlocks(window->Driver().Configuration(), KnownConfiguration()));
    const SettingsSection files(rig.environment->Settings(), SettingsSections::kFile);
    EXPECT_EQ(QDir(files.Value(QStringLiteral("OpenPath"), QString()).Get()), QDir(folder));

    EXPECT_TRUE(rig.presenter.messages.isEmpty());
}

TEST(SettingsFileMenu, AFileThatCannotBeReadLeavesTheConfigurationAndIsReported)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    window->Driver().Configuration() = KnownConfiguration();
    const QString missing = QDir(rig.Folder()).filePath(QStringLiteral("short.zt5"));
    {
        QFile shortFile(missing);
        ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
        shortFile.write("not a settings file");
    }
    EXPECT_FALSE(window->OpenSettingsFileNamed(missing));
    EXPECT_TRUE(SameBlocks(window->Driver().Configuration(), KnownConfiguration()));
    ASSERT_EQ(rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.presenter.messages[0].caption, QStringLiteral("Информация"));
    const SettingsSection files(rig.environment->Settings(), SettingsSections::kFile);
    EXPECT_FALSE(files.Value(QStringLiteral("OpenPath"), QString()).IsStored());
}
