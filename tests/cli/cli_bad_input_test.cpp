// Bad input through zt5ctl, one group a test: lines that cannot be used, a device that is not this kind
// of meter, files of another kind, archive dates the meter has no record for. Each is told in one clear
// message on stderr, nothing lands on stdout, and the exit status is 1. The texts are those listed in
// docs/bad-input.md.

#include "cli_process.h"
#include "cli_test_hosts.h"

#include "config/tunes_file.h"
#include "support/known_configuration.h"

#include "sim/meter_simulator.h"
#include "sim/sim_server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

namespace {

const QString kPortNotReady = QStringLiteral(
    "zt5ctl: Информация: Последовательный порт не готов!Возможно, он занят другим приложением!\n");

// `code`: 2 usage, 3 no connection, 4 refused, 5 a file.
void ExpectRefused(const CliRun& run, const QString& err, int code)
{
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, code);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_EQ(run.err.toStdString(), err.toStdString());
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

TEST(CliBadInput, LinesThatCannotBeUsed)
{
    // A pseudo-terminal another program holds the way serial programs do: an exclusive lock on the line.
    int master = -1;
    int slave = -1;
    char name[64] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    ASSERT_EQ(flock(slave, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(ioctl(slave, TIOCEXCL), 0);
    ExpectRefused(RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--serial"), QString::fromLocal8Bit(name)}),
                  kPortNotReady, 3);
    close(slave);
    close(master);

    // A file that is not a serial port at all.
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("ttyS0"));
    ASSERT_TRUE(WriteFile(plain, "not a port"));
    const CliRun notAPort = RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--serial"), plain});
    EXPECT_EQ(notAPort.exitCode, 3);
    EXPECT_TRUE(notAPort.out.isEmpty());
    EXPECT_TRUE(notAPort.err.startsWith(QStringLiteral("zt5ctl: Информация: Последовательный порт не готов!\nCOM")));
    EXPECT_TRUE(notAPort.err.endsWith(QStringLiteral(" (%1) не является последовательным портом\n").arg(plain)))
        << notAPort.err.toStdString();
}

TEST(CliBadInput, DeviceThatIsNotThisKindOfMeter)
{
    // A Modbus device that answers, but with another type code in its first register.
    SimOptions options;
    options.endpoint = SimOptions::Endpoint::Tcp;
    MeterSimulator meter(options);
    {
        std::lock_guard<std::mutex> lock(meter.Lock());
        meter.Image().Bytes()[0] = 0x01;  // 0x1701
    }
    SimServer server(meter);
    QString error;
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();
    const QString place = QStringLiteral("127.0.0.1:%1").arg(server.BoundPort());
    ExpectRefused(RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--tcp"), place}),
                  QStringLiteral("zt5ctl: Информация: Подключенное устройство не является прибором заданного типа!\n"),
                  4);
    const int requests = server.Requests();
    // Nothing is read from it after the identity, and nothing is written to it.
    ExpectRefused(RunZt5Ctl({QStringLiteral("read-config"), QStringLiteral("--tcp"), place, QStringLiteral("-o"),
                             QDir::temp().filePath(QStringLiteral("zt5-never-written.zt5"))}),
                  QStringLiteral("zt5ctl: Информация: Подключенное устройство не является прибором заданного типа!\n"),
                  4);
    EXPECT_EQ(server.Requests() - requests, requests);
    EXPECT_FALSE(QFile::exists(QDir::temp().filePath(QStringLiteral("zt5-never-written.zt5"))));
    server.Stop();
}

TEST(CliBadInput, FilesOfAnotherKind)
{
    QTemporaryDir dir;
    // A node base given where a settings file belongs: it is refused before any check or meter.
    QByteArray nodes("RovoRedod", 9);
    nodes.resize(156 + 2 * 635, '\0');
    nodes[16] = 0x03;
    nodes[18] = 0x01;
    nodes[20] = char(635 & 0xFF);
    nodes[21] = char(635 >> 8);
    nodes[24] = 2;
    const QString wrong = dir.filePath(QStringLiteral("Objects.zt5"));
    ASSERT_TRUE(WriteFile(wrong, nodes));
    const QString notSettings = QStringLiteral("zt5ctl: Информация: Файл \"%1\" не является файлом настроек!\n")
                                    .arg(wrong);
    ExpectRefused(RunZt5Ctl({QStringLiteral("check"), wrong}), notSettings, 5);
    ExpectRefused(RunZt5Ctl({QStringLiteral("write-config"), wrong, QStringLiteral("--demo")}), notSettings, 5);
    ExpectRefused(RunZt5Ctl({QStringLiteral("report"), wrong, QStringLiteral("-o"), dir.filePath("r.xls")}),
                  notSettings, 5);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("r.xls"))));

    // A settings file where the node base belongs.
    QDir(dir.path()).mkpath(QStringLiteral("Base"));
    const QString base = dir.filePath(QStringLiteral("Base/Objects.bin"));
    ASSERT_TRUE(WriteFile(base, QByteArray(1802, '\x17')));
    ExpectRefused(RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--workdir"), dir.path(), QStringLiteral("--node"),
                             QStringLiteral("Котельная")}),
                  QStringLiteral("zt5ctl: Информация: Файл \"%1\" не является файлом базы узлов учета!\n").arg(base),
                  5);

    // A base cut short, in its header or in its entries: refused with the damage named, and left as it
    // is (the command line asks nothing, so it never sets the file aside).
    const QList<QPair<QByteArray, QString>> damaged = {
        {QByteArray(), QStringLiteral("поврежден: заголовок неполон (0 байт)!")},
        {nodes.left(100), QStringLiteral("поврежден: заголовок неполон (100 байт)!")},
        {nodes.left(156 + 635 + 10), QStringLiteral("поврежден: узлов учета в заголовке 2, в файле 1!")}};
    for (const auto& [bytes, damage] : damaged) {
        ASSERT_TRUE(WriteFile(base, bytes));
        ExpectRefused(RunZt5Ctl({QStringLiteral("info"), QStringLiteral("--workdir"), dir.path(),
                                 QStringLiteral("--node"), QStringLiteral("Котельная")}),
                      QStringLiteral("zt5ctl: Информация: Файл базы узлов учета \"%1\" %2\n").arg(base, damage), 5);
        QFile kept(base);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), bytes);
        EXPECT_EQ(QDir(dir.filePath(QStringLiteral("Base"))).entryList(QDir::Files),
                  QStringList{QStringLiteral("Objects.bin")});
    }
}

TEST(CliBadInput, ArchiveDatesWithoutRecords)
{
    // The demo meter's archives cover the last 92 days up to this hour: long before and after it the
    // meter has no record, and says so with its exception, which is told in plain words.
    for (const char* date : {"2001-01-01", "2001-01-01T05", "2090-06-01"}) {
        ExpectRefused(RunZt5Ctl({QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--date"),
                                 QLatin1String(date), QStringLiteral("--demo")}),
                      QStringLiteral("zt5ctl: Информация: Нет данных за указанную дату!\n"), 4);
    }
    ExpectRefused(RunZt5Ctl({QStringLiteral("archive"), QStringLiteral("month"), QStringLiteral("--date"),
                             QStringLiteral("2001-01-01"), QStringLiteral("--demo")}),
                  QStringLiteral("zt5ctl: Информация: Нет данных за указанную дату!\n"), 4);
    // A day the calendar does not have is a usage error, before any meter is asked.
    const CliRun impossible = RunZt5Ctl({QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--date"),
                                         QStringLiteral("2024-02-30"), QStringLiteral("--demo")});
    EXPECT_EQ(impossible.exitCode, 2);
    EXPECT_TRUE(impossible.out.isEmpty());
    EXPECT_TRUE(impossible.err.startsWith(QStringLiteral("zt5ctl: --date 2024-02-30: в феврале 2024 года 29 дней\n")))
        << impossible.err.toStdString();
}

TEST(CliBadInput, FoldersNamedOnTheCommandLine)
{
    QTemporaryDir dir;
    // Folders that are not there yet are made with their parents; the run goes on to the node search.
    const QString work = dir.filePath(QStringLiteral("new/work"));
    const QString settings = dir.filePath(QStringLiteral("conf/zt5/settings.ini"));
    const QStringList search = {QStringLiteral("info"), QStringLiteral("--node"), QStringLiteral("Котельная")};
    ExpectRefused(
        RunZt5Ctl(search + QStringList{QStringLiteral("--workdir"), work, QStringLiteral("--settings"), settings}),
        QStringLiteral("zt5ctl: Информация: Узел учета \"Котельная\" не найден!\n"), 2);
    EXPECT_TRUE(QFileInfo(work + QStringLiteral("/Base")).isDir());
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("conf/zt5"))).isDir());

    // Under a regular file nothing can be made: the system's reason, and the file is left as it was.
    const QString file = dir.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(WriteFile(file, "x"));
    const QString under = file + QStringLiteral("/work");
    ExpectRefused(
        RunZt5Ctl(search + QStringList{QStringLiteral("--workdir"), under}),
        QStringLiteral("zt5ctl: Ошибка: Невозможно создать папку настроек \"%1\"!\n(%2)!\n")  // CR LF as a line end
            .arg(under, QString::fromLocal8Bit(std::strerror(ENOTDIR))),
        5);
    EXPECT_TRUE(QFileInfo(file).isFile());
}

TEST(CliBadInput, OutputNamesThatCannotBeWrittenAsAsked)
{
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("k.zt5"));
    CollectingHost host;
    ASSERT_TRUE(SaveTunesFile(settings, KnownConfiguration(), host));

    // A folder after -o: refused, and nothing is written beside it under another name.
    const QString folder = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QStringList& words :
         {QStringList{QStringLiteral("report"), settings, QStringLiteral("-o"), folder},
          QStringList{QStringLiteral("read-config"), QStringLiteral("--demo"), QStringLiteral("-o"), folder}}) {
        const CliRun run = RunZt5Ctl(words);
        EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("\"%1\" - папка").arg(folder))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral(".xls")));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral(".zt5")));

    // A name that is no UTF-8: refused rather than written under a name with U+FFFD in it.
    QProcess shell;
    shell.setWorkingDirectory(dir.path());
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("exec \"$0\" report \"$1\" -o \"$(printf 'out\\377\\376.xls')\""),
                 QStringLiteral(ZT5CTL_PATH), settings});
    ASSERT_TRUE(shell.waitForStarted(10000));
    const CliRun odd = FinishProcess(shell);
    EXPECT_EQ(odd.exitCode, 2) << odd.err.toStdString();
    EXPECT_TRUE(odd.err.contains(QStringLiteral("UTF-8"))) << odd.err.toStdString();
    const QStringList left = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{QStringLiteral("k.zt5")});
}
