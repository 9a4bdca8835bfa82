// Files a user would hate to lose are replaced whole or not at all: a write the system refuses half-way
// (the file-size limit of the process stands in for a full disk) leaves the old file byte for byte, no
// temporary file stays behind, and the user reads the system's own words. A folder that may not be
// written gives its message too.

#include "base/atomic_file.h"
#include "base/settings_store.h"
#include "config/tunes_file.h"
#include "nodes/node_base.h"
#include "reports/report_host.h"
#include "reports/text_file.h"
#include "support/file_bytes.h"
#include "support/known_configuration.h"
#include "support/read_only_folder.h"
#include "support/recording_message_host.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstring>

namespace {

QStringList FolderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// While it lives, no file of this process may grow past `bytes`: a write beyond fails with EFBIG, the
// way a write to a full disk fails with ENOSPC, instead of the signal the limit otherwise raises.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool Set() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};

const QString kTooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));

class RecordingSink : public MessageSink {
public:
    void ShowMessage(const UserMessage& message) override { texts << message.text; }
    QStringList texts;
};

}  // namespace

TEST(AtomicFile, ReplacesWholeAndLeavesNothingBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.bin"));
    QString error = QStringLiteral("untouched");
    ASSERT_TRUE(ReplaceFileContents(path, "first", &error));
    ASSERT_TRUE(ReplaceFileContents(path, QByteArray(70000, 'x'), &error));
    EXPECT_EQ(ReadAll(path), QByteArray(70000, 'x'));
    ASSERT_TRUE(ReplaceFileContents(path, "", &error));
    EXPECT_EQ(ReadAll(path), QByteArray());
    EXPECT_EQ(FolderEntries(dir.path()), QStringList{QStringLiteral("data.bin")});
    EXPECT_EQ(error, QStringLiteral("untouched"));

    // A folder that is not there is not made.
    EXPECT_FALSE(ReplaceFileContents(dir.filePath(QStringLiteral("missing/data.bin")), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(AtomicFile, WriteRefusedHalfWayKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.bin"));
    const QByteArray old(3000, 'o');
    WriteAll(path, old);
    QString error;
    {
        FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.Set());
        EXPECT_FALSE(ReplaceFileContents(path, QByteArray(5000, 'n'), &error));
        // What fits is written as usual.
        EXPECT_TRUE(ReplaceFileContents(dir.filePath(QStringLiteral("small.bin")), QByteArray(900, 's')));
    }
    EXPECT_EQ(error, kTooLarge);
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(FolderEntries(dir.path()), (QStringList{QStringLiteral("data.bin"), QStringLiteral("small.bin")}));
}

TEST(AtomicFile, EveryUsersFileSurvivesARefusedWrite)
{
    QTemporaryDir dir;
    const QByteArray old(4000, 'o');
    const QString settings = dir.filePath(QStringLiteral("settings.ini"));
    const QString nodes = dir.filePath(QStringLiteral("Objects.bin"));
    const QString tunes = dir.filePath(QStringLiteral("meter.zt5"));
    const QString log = dir.filePath(QStringLiteral("monitor.txt"));
    for (const QString& path : {settings, nodes, tunes, log})
        WriteAll(path, old);

    SettingsStore store(settings);  // the old text has no "=": a store with nothing in it
    NodeBase base;
    for (int i = 0; i < 4; ++i)
        base.Append(NodeEntry{});
    RecordingMessageHost tunesHost;
    RecordingSink sink;
    UserMessage nodeFailure;
    {
        FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.Set());
        EXPECT_FALSE(
            store.SetString(QStringLiteral("Settings\\Settings"), QStringLiteral("Note"), QString(2000, u'n')));
        EXPECT_FALSE(base.SaveFile(nodes, &nodeFailure));
        EXPECT_FALSE(SaveTunesFile(tunes, KnownConfiguration(), tunesHost));
        EXPECT_FALSE(gWriteTxtFile(log, QString(3000, u'т'), &sink));
    }
    // The settings say which file they could not write, then the system's reason.
    EXPECT_EQ(store.LastError(),
              QStringLiteral("Не удалось сохранить настройки программы в файл \"%1\": %2")
                  .arg(QDir::toNativeSeparators(settings), kTooLarge));
    EXPECT_EQ(nodeFailure.text, kTooLarge);
    EXPECT_EQ(tunesHost.LastText(), QStringLiteral("Файл настроек \"%1\" не записан: %2").arg(tunes, kTooLarge));
    EXPECT_EQ(sink.texts, QStringList{QStringLiteral("Не удалось записать файл \"%1\": %2").arg(log, kTooLarge)});
    for (const QString& path : {settings, nodes, tunes, log})
        EXPECT_EQ(ReadAll(path), old) << qPrintable(path);
    EXPECT_EQ(FolderEntries(dir.path()).size(), 4);

    // Once the disk takes them, the writes go through.
    EXPECT_TRUE(store.SetString(QStringLiteral("Settings\\Settings"), QStringLiteral("Note"), QStringLiteral("n")));
    EXPECT_TRUE(base.SaveFile(nodes, &nodeFailure));
    EXPECT_EQ(ReadAll(nodes).size(), 156 + 4 * 635);
}

TEST(AtomicFile, ReadOnlyFolderGivesTheSystemsMessage)
{
    ReadOnlyFolder folder;
    const QString path = QDir(folder.Path()).filePath(QStringLiteral("report.xls"));
    WriteAll(path, "old");
    ASSERT_TRUE(folder.Lock());
    QString error;
    const bool written = ReplaceFileContents(path, "new", &error);
    RecordingSink sink;
    const bool saved = gWriteTxtFile(path, QStringLiteral("new"), &sink);
    RecordingMessageHost tunesHost;
    const bool tunesSaved = SaveTunesFile(QDir(folder.Path()).filePath(QStringLiteral("a.zt5")), KnownConfiguration(),
                                          tunesHost);
    folder.Unlock();

    const QString denied = QString::fromLocal8Bit(std::strerror(EACCES));
    EXPECT_FALSE(written);
    EXPECT_EQ(error, denied);
    EXPECT_FALSE(saved);
    EXPECT_EQ(sink.texts, QStringList{QStringLiteral("Не удалось записать файл \"%1\": %2").arg(path, denied)});
    EXPECT_FALSE(tunesSaved);
    EXPECT_EQ(tunesHost.LastText(),
              QStringLiteral("Файл настроек \"%1\" не записан: %2")
                  .arg(QDir(folder.Path()).filePath(QStringLiteral("a.zt5")), denied));
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
}
