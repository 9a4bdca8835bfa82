// zt5ctl under a file-size limit (ulimit -f): a write past it is told in the system's words with exit
// status 1, never a death by SIGXFSZ, and a file replaced whole keeps its old contents.

#include "cli_process.h"

#include "cli_test_hosts.h"
#include "config/tunes_file.h"
#include "support/file_bytes.h"
#include "support/known_configuration.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <cerrno>

namespace {

constexpr rlim_t kLimit = 4096;

// zt5ctl with RLIMIT_FSIZE set to `limit` bytes, its stdout into `outputFile` when one is named.
CliRun RunLimited(const QStringList& arguments, rlim_t limit, const QString& outputFile = {})
{
    QProcess process;
    process.setChildProcessModifier([limit] {
        const rlimit size{limit, limit};
        setrlimit(RLIMIT_FSIZE, &size);
    });
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(QStringLiteral(ZT5CTL_PATH), arguments);
    EXPECT_TRUE(process.waitForStarted(10000));
    return FinishProcess(process);
}

}  // namespace

TEST(CliFileSizeLimit, AWritePastTheLimitIsToldAndLeavesNothingHalfWritten)
{
    QTemporaryDir dir;
    const QString tooLarge = qt_error_string(EFBIG);
    const QStringList folders = {QStringLiteral("--workdir"), dir.filePath(QStringLiteral("work")),
                                 QStringLiteral("--settings"), dir.filePath(QStringLiteral("settings.ini"))};
    const QString settings = dir.filePath(QStringLiteral("k.zt5"));
    CollectingHost host;
    ASSERT_TRUE(SaveTunesFile(settings, KnownConfiguration(), host));
    const QByteArray saved = ReadAll(settings);

    // The settings report, much larger than the limit: refused, no report and no temporary file left.
    const QString report = dir.filePath(QStringLiteral("r.xls"));
    const CliRun reported = RunLimited(
        QStringList{QStringLiteral("report"), settings, QStringLiteral("-o"), report} + folders, kLimit);
    EXPECT_EQ(reported.exitCode, 5) << reported.err.toStdString();
    EXPECT_TRUE(reported.err.contains(tooLarge)) << reported.err.toStdString();
    EXPECT_FALSE(QFile::exists(report));

    // A settings file replaced whole, under a limit below its size: the old one stays as it was.
    const CliRun read = RunLimited(
        QStringList{QStringLiteral("read-config"), QStringLiteral("--demo"), QStringLiteral("-o"), settings} + folders,
        rlim_t(saved.size() / 2));
    EXPECT_EQ(read.exitCode, 5) << read.err.toStdString();
    EXPECT_TRUE(read.err.contains(tooLarge)) << read.err.toStdString();
    EXPECT_EQ(ReadAll(settings), saved);
    const QStringList left = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_TRUE(left.filter(QStringLiteral("k.zt5.")).isEmpty()) << left.join(u' ').toStdString();

    // The result on stdout, into a file that cannot take it all.
    const QString out = dir.filePath(QStringLiteral("help.txt"));
    const CliRun help = RunLimited({QStringLiteral("--help")}, kLimit, out);
    EXPECT_EQ(help.exitCode, 5) << help.err.toStdString();
    EXPECT_EQ(help.err, QStringLiteral("zt5ctl: не удалось вывести результат: %1\n").arg(tooLarge));
}
