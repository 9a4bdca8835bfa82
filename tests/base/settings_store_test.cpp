#include "app/program_options.h"
#include "base/setting_value.h"
#include "base/settings_sections.h"
#include "base/settings_store.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"
#include "support/read_only_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString kProgram = QStringLiteral("Settings\\Settings");
const QString kMainScreen = QStringLiteral("Settings\\Screen\\MainDialog");

class SettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("settings.ini"));
};

TEST_F(SettingsStoreTest, ValuesRoundTripThroughTheFileWithSectionsKeptVerbatim)
{
    const QByteArray placement = QByteArray::fromHex("2c00000000000000010000000080ffff");
    const QString tricky = QStringLiteral(" leading and \"quoted\"\r\nsecond line\tC:\\temp\\x41 ");
    {
        SettingsStore store(path);
        EXPECT_TRUE(store.SetInt(kProgram, QStringLiteral("UseWorkFolder"), 0));
        EXPECT_TRUE(store.SetString(kProgram, QStringLiteral("WorkFolderPath"), QStringLiteral("/home/инженер/ЗТ5")));
        EXPECT_TRUE(store.SetInt(kMainScreen, QStringLiteral("SplitterPosition"), -42));
        EXPECT_TRUE(store.SetBinary(kMainScreen, QStringLiteral("Position"), placement));
        EXPECT_TRUE(store.SetString(kMainScreen, QStringLiteral("Tricky"), tricky));
        EXPECT_TRUE(store.LastError().isEmpty());
    }
    EXPECT_EQ(
        ReadAll(path),
        QByteArray("[Settings\\Settings]\n"
                   "UseWorkFolder=0\n"
                   "WorkFolderPath=/home/\xD0\xB8\xD0\xBD\xD0\xB6\xD0\xB5\xD0\xBD\xD0\xB5\xD1\x80/\xD0\x97\xD0\xA2"
                   "5\n"
                   "\n"
                   "[Settings\\Screen\\MainDialog]\n"
                   "SplitterPosition=-42\n"
                   "Position=2c00000000000000010000000080ffff\n"
                   "Tricky=\" leading and \\\"quoted\\\"\\r\\nsecond line\\tC:\\\\temp\\\\x41 \"\n"));

    const SettingsStore reread(path);
    EXPECT_EQ(reread.GetInt(kProgram, QStringLiteral("UseWorkFolder"), 1), 0);
    EXPECT_EQ(reread.GetString(kProgram, QStringLiteral("WorkFolderPath")), QStringLiteral("/home/инженер/ЗТ5"));
    EXPECT_EQ(reread.GetInt(kMainScreen, QStringLiteral("SplitterPosition"), -1000), -42);
    EXPECT_EQ(reread.GetBinary(kMainScreen, QStringLiteral("Position")), placement);
    EXPECT_EQ(reread.GetString(kMainScreen, QStringLiteral("Tricky")), tricky);
    // Names are matched without regard to case, as the profile files of old.
    EXPECT_EQ(reread.GetInt(QStringLiteral("settings\\SETTINGS"), QStringLiteral("useworkfolder"), 1), 0);
    // Absent keys and texts of the wrong type give the default.
    EXPECT_EQ(reread.GetInt(kProgram, QStringLiteral("Missing"), 7), 7);
    EXPECT_EQ(reread.GetInt(kProgram, QStringLiteral("WorkFolderPath"), 7), 7);
    EXPECT_EQ(reread.GetBinary(kMainScreen, QStringLiteral("Tricky"), "dflt"), QByteArray("dflt"));
    EXPECT_EQ(reread.GetString(QStringLiteral("Settings\\Screen"), QStringLiteral("Position"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_EQ(reread.Keys(kMainScreen),
              (QStringList{QStringLiteral("SplitterPosition"), QStringLiteral("Position"), QStringLiteral("Tricky")}));

    // Names that the file could not hold are refused and nothing is written.
    SettingsStore store(path);
    EXPECT_FALSE(store.SetInt(kProgram, QStringLiteral("a=b"), 1));
    EXPECT_FALSE(store.SetInt(QStringLiteral("Bad]Section"), QStringLiteral("Key"), 1));
    EXPECT_FALSE(store.SetInt(kProgram, QStringLiteral("two\nlines"), 1));
    EXPECT_FALSE(store.LastError().isEmpty());
    EXPECT_FALSE(SettingsStore(path).Contains(kProgram, QStringLiteral("a=b")));
}

TEST_F(SettingsStoreTest, DamagedFileGivesWhatCanBeReadAndIsRewrittenClean)
{
    QByteArray damaged(
        "\xEF\xBB\xBF"  // a byte-order mark
        "stray=before any section\r\n"
        "[Settings\\Settings]\r\n"
        "UseWorkFolder = 0 \r\n"
        "no equals sign here\r\n"
        "UseWorkFolder=5\r\n"  // the first of two wins
        "; a comment\r\n"
        "=value without a key\r\n"
        "\x01\x02\xFF\xFE garbage with a NUL ");
    damaged.append('\0');
    damaged.append(
        "\r\n"
        "[Settings\\Broken\r\n"
        "Lost=1\r\n"  // under a broken section line
        "[Settings\\Screen\\Base]\n"
        "Position=2c0\n"  // odd number of digits
        "Other=zz11\n"
        "ConnectType=3\n"
        "[settings\\settings]\n"  // the same section again
        "WorkFolderPath=\"unterminated\n");
    WriteAll(path, damaged);

    SettingsStore store(path);
    EXPECT_TRUE(store.LastError().isEmpty());
    EXPECT_EQ(store.GetInt(kProgram, QStringLiteral("UseWorkFolder"), 1), 0);
    EXPECT_EQ(store.GetString(kProgram, QStringLiteral("WorkFolderPath")), QStringLiteral("\"unterminated"));
    EXPECT_FALSE(store.Contains(QStringLiteral("Settings\\Broken"), QStringLiteral("Lost")));
    const QString base = QStringLiteral("Settings\\Screen\\Base");
    EXPECT_EQ(store.GetBinary(base, QStringLiteral("Position"), "default"), QByteArray("default"));
    EXPECT_EQ(store.GetBinary(base, QStringLiteral("Other"), "default"), QByteArray("default"));
    EXPECT_EQ(store.GetInt(base, QStringLiteral("ConnectType"), 0), 3);

    // The next write leaves a file that reads back the same.
    ASSERT_TRUE(store.SetInt(base, QStringLiteral("ConnectType"), 2));
    const SettingsStore reread(path);
    EXPECT_EQ(reread.GetInt(kProgram, QStringLiteral("UseWorkFolder"), 1), 0);
    EXPECT_EQ(reread.GetString(kProgram, QStringLiteral("WorkFolderPath")), QStringLiteral("\"unterminated"));
    EXPECT_EQ(reread.GetInt(base, QStringLiteral("ConnectType"), 0), 2);
    EXPECT_FALSE(ReadAll(path).contains("garbage"));
}

TEST_F(SettingsStoreTest, BatchWritesOnceAtItsEnd)
{
    SettingsStore store(path);
    {
        SettingsStore::Batch batch(store);
        store.SetInt(kProgram, QStringLiteral("A"), 1);
        store.SetInt(kProgram, QStringLiteral("B"), 2);
        EXPECT_FALSE(QFile::exists(path));
    }
    const SettingsStore reread(path);
    EXPECT_EQ(reread.GetInt(kProgram, QStringLiteral("A"), 0), 1);
    EXPECT_EQ(reread.GetInt(kProgram, QStringLiteral("B"), 0), 2);

    EXPECT_TRUE(store.RemoveKey(kProgram, QStringLiteral("A")));
    EXPECT_FALSE(SettingsStore(path).Contains(kProgram, QStringLiteral("A")));
    EXPECT_TRUE(store.RemoveSection(kProgram));
    EXPECT_TRUE(SettingsStore(path).Keys(kProgram).isEmpty());
}

TEST_F(SettingsStoreTest, FailedWriteKeepsTheOldFileAndSaysWhy)
{
    ReadOnlyFolder folder;
    const QString file = QDir(folder.Path()).filePath(QStringLiteral("settings.ini"));
    {
        SettingsStore store(file);
        ASSERT_TRUE(store.SetInt(kProgram, QStringLiteral("UseWorkFolder"), 0));
    }
    const QByteArray before = ReadAll(file);
    {
        ASSERT_TRUE(folder.Lock());
        SettingsStore store(file);
        EXPECT_EQ(store.GetInt(kProgram, QStringLiteral("UseWorkFolder"), 1), 0);
        EXPECT_FALSE(store.SetInt(kProgram, QStringLiteral("UseWorkFolder"), 1));
        // What failed and on which file, then the system's reason.
        EXPECT_TRUE(
            store.LastError().startsWith(QStringLiteral("Не удалось сохранить настройки программы в файл \"%1\": ")
                                             .arg(QDir::toNativeSeparators(file))))
            << store.LastError().toStdString();
        // The program runs on with the new value.
        EXPECT_EQ(store.GetInt(kProgram, QStringLiteral("UseWorkFolder"), 0), 1);
        folder.Unlock();
    }
    EXPECT_EQ(ReadAll(file), before);

    // A file that cannot be a settings file is not replaced by what this run sets.
    const QString huge = dir.filePath(QStringLiteral("huge.ini"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(17 * 1024 * 1024));
    }
    SettingsStore foreign(huge);
    EXPECT_FALSE(foreign.LastError().isEmpty());
    EXPECT_FALSE(foreign.SetInt(kProgram, QStringLiteral("UseWorkFolder"), 0));
    EXPECT_EQ(foreign.GetInt(kProgram, QStringLiteral("UseWorkFolder"), 1), 0);
    EXPECT_EQ(QFileInfo(huge).size(), 17 * 1024 * 1024);

    // A folder that cannot exist: its parent is a file.
    WriteAll(dir.filePath(QStringLiteral("plain")), "x");
    SettingsStore store(dir.filePath(QStringLiteral("plain/settings.ini")));
    EXPECT_FALSE(store.SetInt(kProgram, QStringLiteral("UseWorkFolder"), 1));
    EXPECT_TRUE(store.LastError().contains(QStringLiteral("plain/settings.ini"))) << store.LastError().toStdString();
}

TEST_F(SettingsStoreTest, FileLocation)
{
    const QString config = dir.filePath(QStringLiteral("config"));
    EXPECT_EQ(SettingsStore::LocateFile(QStringLiteral("/x/my.ini"), dir.path(), config), QStringLiteral("/x/my.ini"));
    EXPECT_EQ(SettingsStore::LocateFile({}, dir.path(), config), dir.filePath(QStringLiteral("settings.ini")));
    EXPECT_EQ(SettingsStore::LocateFile({}, dir.filePath(QStringLiteral("missing")), config),
              config + QStringLiteral("/settings.ini"));

    ReadOnlyFolder installed;
    ASSERT_TRUE(installed.Lock());
    const QString located = SettingsStore::LocateFile({}, installed.Path(), config);
    installed.Unlock();
    EXPECT_EQ(located, config + QStringLiteral("/settings.ini"));

    // The configuration folder of a fresh account is made on the first write.
    SettingsStore store(located);
    EXPECT_TRUE(store.SetInt(kProgram, QStringLiteral("UseWorkFolder"), 1));
    EXPECT_TRUE(QFile::exists(located));
}

TEST_F(SettingsStoreTest, TypedKeysAndProgramOptions)
{
    SettingsStore store(path);
    const ProgramOptions fresh = ReadProgramOptions(store);
    EXPECT_EQ(fresh.useWorkFolder, 1);
    EXPECT_TRUE(fresh.UsesProgramFolder());
    EXPECT_EQ(fresh.workFolderPath, QString());
    EXPECT_FALSE(QFile::exists(path));  // reading writes nothing

    EXPECT_TRUE(WriteProgramOptions(store, ProgramOptions{0, QStringLiteral("/srv/zt5")}));
    EXPECT_EQ(ReadAll(path), QByteArray("[Settings\\Settings]\nUseWorkFolder=0\nWorkFolderPath=/srv/zt5\n"));
    SettingsStore reread(path);
    const ProgramOptions stored = ReadProgramOptions(reread);
    EXPECT_FALSE(stored.UsesProgramFolder());
    EXPECT_EQ(stored.workFolderPath, QStringLiteral("/srv/zt5"));

    const SettingsSection base = SettingsSection(store, SettingsSections::kScreen).Child(QStringLiteral("Base"));
    EXPECT_EQ(base.Name(), QStringLiteral("Settings\\Screen\\Base"));
    const SettingValue<int> connectType = base.Value(QStringLiteral("ConnectType"), 0);
    const SettingValue<QByteArray> position = base.Value(QStringLiteral("Position"), QByteArray());
    EXPECT_FALSE(connectType.IsStored());
    EXPECT_EQ(connectType.Get(), 0);
    EXPECT_TRUE(connectType.Set(7));
    EXPECT_TRUE(position.Set(QByteArray(44, '\x01')));
    EXPECT_EQ(SettingsStore(path).GetInt(QStringLiteral("Settings\\Screen\\Base"), QStringLiteral("ConnectType"), 0),
              7);
    EXPECT_EQ(position.Get().size(), 44);
}

}  // namespace
