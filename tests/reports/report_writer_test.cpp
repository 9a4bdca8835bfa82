// The report writer end to end through real files: the frame around the body, temporary names, the
// viewer's moment, failures and the trace it leaves in a log.

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <signal.h>

#include "base/text_codec.h"
#include "reports/report_template.h"
#include "reports/report_writer.h"
#include "reports/temp_files.h"
#include "support/qt_printers.h"
#include "support/recording_viewer.h"

namespace {

// Several megabytes of Cyrillic and Latin lines whose lengths do not divide the copy block.
QString LargeBody()
{
    QString body;
    for (int i = 0; body.size() < 3 * 1024 * 1024; ++i)
        body += QStringLiteral("<div>Строка %1: ЁёЖж \"quoted\" &amp; %2</div>\r\n").arg(i).arg(QString(i % 97, u'ю'));
    return body;
}

TEST(ReportWriter, LargeBodyArrivesUnchangedInsideTheFrame)
{
    QTemporaryDir folder;
    RecordingViewer viewer;
    const QString body = LargeBody();
    ASSERT_TRUE(WriteReport(body, folder.path(), 0xABCDEF01u, nullptr, viewer));
    ASSERT_EQ(viewer.shown.size(), 1u);
    EXPECT_EQ(viewer.shown[0].file, folder.filePath(QStringLiteral("ABCDEF01_2_0.tmp")));
    EXPECT_EQ(viewer.shown[0].saveFolder, folder.path());
    EXPECT_TRUE(viewer.messages.empty());

    const QByteArray header = EncodeWindows1251(ReportHeader(DefaultReportOptions()));
    const QByteArray tail("\r\n</BODY>\r\n</HTML>");
    const QByteArray encodedBody = EncodeWindows1251(body);
    const QByteArray& file = viewer.shown[0].bytes;
    ASSERT_EQ(file.size(), header.size() + encodedBody.size() + tail.size());
    EXPECT_TRUE(file.startsWith(header));
    EXPECT_TRUE(file.mid(header.size(), encodedBody.size()) == encodedBody);
    EXPECT_TRUE(file.endsWith(tail));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST(ReportWriter, ReportsOpenAtOnceUseTheirOwnFiles)
{
    const quint32 first = NewReportWindowNumber();
    const quint32 second = NewReportWindowNumber();
    EXPECT_NE(first, second);
    EXPECT_NE(ReportTempName(QStringLiteral("/r"), first, ReportTempPart::Finished),
              ReportTempName(QStringLiteral("/r"), second, ReportTempPart::Finished));

    // While the first report is shown, a second window opens its own in the same folder.
    QTemporaryDir folder;
    RecordingViewer outer;
    RecordingViewer inner;
    QStringList presentMeanwhile;
    outer.whileShown = [&](const QString&) {
        ASSERT_TRUE(WriteReport(QStringLiteral("<p>второй</p>\r\n"), folder.path(), second, nullptr, inner));
        presentMeanwhile = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
    };
    inner.whileShown = [&](const QString&) {
        presentMeanwhile = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
    };
    ASSERT_TRUE(WriteReport(QStringLiteral("<p>первый</p>\r\n"), folder.path(), first, nullptr, outer));
    ASSERT_EQ(outer.shown.size(), 1u);
    ASSERT_EQ(inner.shown.size(), 1u);
    EXPECT_NE(outer.shown[0].file, inner.shown[0].file);
    EXPECT_TRUE(outer.shown[0].bytes.contains(EncodeWindows1251(QStringLiteral("<p>первый</p>"))));
    EXPECT_TRUE(inner.shown[0].bytes.contains(EncodeWindows1251(QStringLiteral("<p>второй</p>"))));
    // After the second report closed only the first one's two files were left.
    EXPECT_EQ(presentMeanwhile,
              QStringList({QFileInfo(outer.shown[0].file).fileName(), QString::asprintf("%.8X_2_1.tmp", first)}));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST(ReportWriter, FolderThatCannotTakeFilesShowsNothing)
{
    QTemporaryDir root;
    const QString missing = root.filePath(QStringLiteral("нет такой"));
    RecordingViewer viewer;
    EXPECT_FALSE(WriteReport(QStringLiteral("body"), missing, 7, nullptr, viewer));
    EXPECT_TRUE(viewer.shown.empty());
    ASSERT_EQ(viewer.messages.size(), 1u) << "one failure, one message";
    const QString path = missing + QStringLiteral("/00000007_2_0.tmp");
    EXPECT_EQ(viewer.messages[0].text,
              QStringLiteral("Не удалось открыть временный файл \"%1\": No such file or directory").arg(path));
    EXPECT_EQ(viewer.messages[0].caption, QStringLiteral("Информация"));
    EXPECT_EQ(viewer.messages[0].style, 0x40u);

    // The body file cannot be made (a folder has its name): the finished file goes too.
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("00000008_2_1.tmp")));
    EXPECT_FALSE(WriteReport(QStringLiteral("body"), folder.path(), 8, nullptr, viewer));
    EXPECT_TRUE(viewer.shown.empty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

// The trace lines of a whole report, with the folder written as DIR.
QStringList TraceOf(const QByteArray& log, const QString& folder)
{
    QString text = DecodeWindows1251(log);
    text.replace(folder, QStringLiteral("DIR"));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

TEST(ReportWriter, LogTracesEveryFileStep)
{
    QTemporaryDir folder;
    QBuffer log;
    log.open(QIODevice::WriteOnly);
    RecordingViewer viewer;
    ASSERT_TRUE(WriteReport(QStringLiteral("x"), folder.path(), 0x1F, &log, viewer));
    const QStringList expected = {
        "Процедура открытия временного файла: DIR/0000001F_2_0.tmp",
        "\tХэндл файла равен hFileNull: DIR/0000001F_2_0.tmp",
        "\tУспешное открытие временного файла: DIR/0000001F_2_0.tmp",
        "Процедура открытия временного файла: DIR/0000001F_2_1.tmp",
        "\tХэндл файла равен hFileNull: DIR/0000001F_2_1.tmp",
        "\tУспешное открытие временного файла: DIR/0000001F_2_1.tmp",
        "Процедура закрытия временного файла: DIR/0000001F_2_0.tmp",
        "\tУспешное закрытие временного файла: DIR/0000001F_2_0.tmp",
        "Процедура закрытия временного файла: DIR/0000001F_2_1.tmp",
        "\tУспешное закрытие временного файла: DIR/0000001F_2_1.tmp",
        "Процедура удаления временного файла: DIR/0000001F_2_1.tmp",
        "\tВызов процедуры закрытия временного файла: DIR/0000001F_2_1.tmp",
        "Процедура закрытия временного файла: DIR/0000001F_2_1.tmp",
        "\tХэндл файла равен hFileNull: DIR/0000001F_2_1.tmp",
        "\tПоиск удаляемого файла: DIR/0000001F_2_1.tmp",
        "\tУспешное удаление файла (1): DIR/0000001F_2_1.tmp",
        "Процедура удаления временного файла: DIR/0000001F_2_0.tmp",
        "\tВызов процедуры закрытия временного файла: DIR/0000001F_2_0.tmp",
        "Процедура закрытия временного файла: DIR/0000001F_2_0.tmp",
        "\tХэндл файла равен hFileNull: DIR/0000001F_2_0.tmp",
        "\tПоиск удаляемого файла: DIR/0000001F_2_0.tmp",
        "\tУспешное удаление файла (1): DIR/0000001F_2_0.tmp",
    };
    EXPECT_EQ(TraceOf(log.data(), folder.path()), expected);
}

}  // namespace

TEST(ReportWriterLeftovers, FilesOfAKilledWriterGoAtTheNextReportInTheFolder)
{
    QTemporaryDir folder;
    // A process that has ended: its id is free, its report files are leftovers.
    QProcess ended;
    ended.start(QStringLiteral("sleep"), {QStringLiteral("0.1")});
    ASSERT_TRUE(ended.waitForStarted(10000));
    const auto deadPid = static_cast<quint32>(ended.processId());
    ASSERT_TRUE(ended.waitForFinished(10000));
    const quint32 running = NewReportWindowNumber();  // this process: a writer still at work
    const QStringList kept{
        ReportTempName(folder.path(), running, ReportTempPart::Finished),
        ReportTempName(folder.path(), running, ReportTempPart::Body), folder.filePath(QStringLiteral("notes_2_0.tmp")),
        folder.filePath(QStringLiteral("0000000G_2_0.tmp")), folder.filePath(QStringLiteral("report.xls"))};
    QStringList stale;
    if (deadPid != 0 && ::kill(pid_t(deadPid), 0) != 0) {
        stale << ReportTempName(folder.path(), (deadPid << 10) | 5, ReportTempPart::Finished)
              << ReportTempName(folder.path(), (deadPid << 10) | 5, ReportTempPart::Body);
    }
    for (const QString& path : kept + stale) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }

    RecordingViewer viewer;
    ASSERT_TRUE(
        WriteReport(QStringLiteral("<p>отчет</p>\r\n"), folder.path(), NewReportWindowNumber(), nullptr, viewer));
    for (const QString& path : kept)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    for (const QString& path : stale)
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    EXPECT_FALSE(stale.isEmpty()) << "the ended process's id was taken again: nothing stale to test";
}
