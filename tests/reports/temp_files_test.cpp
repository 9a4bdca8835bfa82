// The temporary-file functions on their own: names, reopening, deleting what is gone or cannot go.

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/text_codec.h"
#include "reports/temp_files.h"
#include "support/qt_printers.h"
#include "support/read_only_folder.h"
#include "support/recording_viewer.h"

namespace {

class TempFilesTest : public ::testing::Test {
protected:
    void SetUp() override { log.open(QIODevice::WriteOnly); }

    QString Logged() const { return DecodeWindows1251(log.data()); }

    QTemporaryDir folder;
    QBuffer log;
    QFile file;
    RecordingViewer owner;
};

TEST(TempFiles, NamesCarryTheWindowAndThePart)
{
    EXPECT_EQ(ReportTempName(QStringLiteral("/opt/zt5"), 0x00C0FFEEu, ReportTempPart::Finished),
              QStringLiteral("/opt/zt5/00C0FFEE_2_0.tmp"));
    EXPECT_EQ(ReportTempName(QStringLiteral("/opt/zt5/"), 0xFFFFFFFFu, ReportTempPart::Body),
              QStringLiteral("/opt/zt5/FFFFFFFF_2_1.tmp"));
}

TEST_F(TempFilesTest, OpeningAgainClosesFirstAndTruncates)
{
    const QString path = folder.filePath(QStringLiteral("a.tmp"));
    ASSERT_TRUE(gOpenTempFile(file, path, &log, nullptr));
    file.write("old contents");
    ASSERT_TRUE(gOpenTempFile(file, path, &log, nullptr));
    EXPECT_EQ(file.size(), 0);
    EXPECT_TRUE(Logged().contains(
        QStringLiteral("\tХэндл файла не равен hFileNull. Контрольное закрытие временного файла: %1\r\n").arg(path)));
    EXPECT_TRUE(gCloseTempFile(file, &log));
    EXPECT_TRUE(gCloseTempFile(file, &log));
    EXPECT_TRUE(Logged().endsWith(QStringLiteral("Процедура закрытия временного файла: %1\r\n"
                                                 "\tХэндл файла равен hFileNull: %1\r\n")
                                      .arg(path)));

    // A log that is not open gets nothing.
    QBuffer closed;
    ASSERT_TRUE(gOpenTempFile(file, path, &closed, nullptr));
    EXPECT_TRUE(closed.data().isEmpty());
}

TEST_F(TempFilesTest, FailedOpenIsToldOnlyToAnOwner)
{
    const QString path = folder.filePath(QStringLiteral("missing/b.tmp"));
    const QString message = QStringLiteral("Не удалось открыть временный файл \"%1\": No such file or directory")
                                .arg(path);
    EXPECT_FALSE(gOpenTempFile(file, path, &log, nullptr));
    EXPECT_TRUE(
        Logged().endsWith(QStringLiteral("\t\tERROR! - Ошибка открытия временного файла: %1\r\n").arg(message)));
    EXPECT_TRUE(owner.messages.empty());

    EXPECT_FALSE(gOpenTempFile(file, path, nullptr, &owner));
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(owner.messages[0].text, message);
}

TEST_F(TempFilesTest, DeletingWhatIsGoneSucceeds)
{
    const QString path = folder.filePath(QStringLiteral("gone.tmp"));
    EXPECT_TRUE(gDeleteTempFile(path, &log, &owner, file));
    EXPECT_TRUE(owner.messages.empty());
    EXPECT_TRUE(Logged().endsWith(QStringLiteral("\tПоиск удаляемого файла: %1\r\n"
                                                 "\tФайл для удаления не найден: %1\r\n")
                                      .arg(path)));

    // A folder of that name is not a file to delete, nor is a pattern a list of files.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("gone.tmp")));
    QFile(folder.filePath(QStringLiteral("x1.tmp"))).open(QIODevice::WriteOnly);
    EXPECT_TRUE(gDeleteTempFile(path, nullptr, &owner, file));
    EXPECT_TRUE(gDeleteTempFile(folder.filePath(QStringLiteral("x*.tmp")), nullptr, &owner, file));
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("x1.tmp"))));
}

TEST_F(TempFilesTest, FileThatCannotBeDeletedStays)
{
    ReadOnlyFolder locked;
    const QString path = locked.Path() + QStringLiteral("/stuck.tmp");
    ASSERT_TRUE(gOpenTempFile(file, path, nullptr, nullptr));
    ASSERT_TRUE(locked.Lock());
    EXPECT_FALSE(gDeleteTempFile(path, &log, &owner, file));
    locked.Unlock();
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(QFileInfo::exists(path));
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(owner.messages[0].text,
              QStringLiteral("Не удалось удалить временный файл \"%1\": Permission denied").arg(path));
    EXPECT_TRUE(Logged().endsWith(
        QStringLiteral("\t\tERROR! - Ошибка удаления файла (1): %1\r\n").arg(owner.messages[0].text)));
}

}  // namespace
