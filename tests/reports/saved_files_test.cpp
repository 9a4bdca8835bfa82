// Files written under a name the user chose: gWriteTxtFile and the saved copy of a report.

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include "base/text_codec.h"
#include "reports/report_save.h"
#include "reports/text_file.h"
#include "support/qt_printers.h"
#include "support/read_only_folder.h"
#include "support/recording_viewer.h"

namespace {

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST(SavedFiles, SaveNameKeepsOneExtension)
{
    EXPECT_EQ(ReportSaveName(QStringLiteral("/home/u/отчет.xls.xls")), QStringLiteral("/home/u/отчет.xls"));
    EXPECT_EQ(ReportSaveName(QStringLiteral("/home/u/отчет")), QStringLiteral("/home/u/отчет.xls"));
    EXPECT_EQ(ReportSaveName(QStringLiteral("отчет.xls")), QStringLiteral("отчет.xls"));
    EXPECT_EQ(ReportSaveName(QStringLiteral("/d.xls/a.xlsb")), QStringLiteral("/d.xls/ab.xls"));
    EXPECT_EQ(ReportSaveName(QStringLiteral("/d/a.XLS")), QStringLiteral("/d/a.XLS.xls"));
    EXPECT_EQ(ReportSaveFilter(), QStringLiteral("Отчеты (*.xls)"));
}

TEST(SavedFiles, TextFileIsWindows1251AsGiven)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("монитор.txt"));
    RecordingViewer owner;
    ASSERT_TRUE(gWriteTxtFile(path, QStringLiteral("COM3 -> 01 03\r\nОтвет\r\n"), &owner));
    ASSERT_TRUE(gWriteTxtFile(path, QStringLiteral("Ещё\r\n"), &owner));
    EXPECT_EQ(Read(path), QByteArray("\xC5\xF9\xB8\r\n"));
    EXPECT_TRUE(owner.messages.empty());
}

TEST(SavedFiles, FailedWritesLeaveTheOldFile)
{
    ReadOnlyFolder folder;
    const QString path = folder.Path() + QStringLiteral("/log.txt");
    RecordingViewer owner;
    ASSERT_TRUE(gWriteTxtFile(path, QStringLiteral("old"), &owner));
    ASSERT_TRUE(folder.Lock());
    EXPECT_FALSE(gWriteTxtFile(path, QStringLiteral("new"), &owner));
    folder.Unlock();
    EXPECT_EQ(Read(path), QByteArray("old"));
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_TRUE(owner.messages[0].text.startsWith(QStringLiteral("Не удалось записать файл \"%1\": ").arg(path)))
        << owner.messages[0].text.toStdString();
    EXPECT_FALSE(owner.messages[0].text.endsWith(QStringLiteral(": ")));  // the system's reason follows
    EXPECT_EQ(owner.messages[0].caption, QStringLiteral("Информация"));
}

TEST(SavedFiles, SavingViewerKeepsTheShownReport)
{
    QTemporaryDir folder;
    const QString shown = folder.filePath(QStringLiteral("0000002A_2_0.tmp"));
    const QString target = folder.filePath(QStringLiteral("копия.xls"));
    QFile file(shown);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html>\r\n\xCE\xF2\xF7\xE5\xF2\r\n</html>");
    file.close();
    ASSERT_TRUE(gWriteTxtFile(target, QStringLiteral("earlier"), nullptr));

    RecordingViewer messages;
    SavingReportViewer viewer(target, messages);
    viewer.ShowReport(shown, folder.path());
    EXPECT_TRUE(viewer.Saved());
    EXPECT_EQ(Read(target), Read(shown));

    SavingReportViewer nowhere(folder.filePath(QStringLiteral("нет/копия.xls")), messages);
    nowhere.ShowReport(shown, folder.path());
    EXPECT_FALSE(nowhere.Saved());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.startsWith(QStringLiteral("Не удалось записать копию отчета \"")));

    nowhere.ShowReport(folder.filePath(QStringLiteral("missing.tmp")), folder.path());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text,
              QStringLiteral("Не удалось прочитать отчет \"%1\": No such file or directory")
                  .arg(folder.filePath("missing.tmp")));
}

}  // namespace
