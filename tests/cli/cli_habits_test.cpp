// The small habits of zt5ctl as a user meets them: one command's help, options that contradict each
// other, a mistyped date or address told exactly, -q and -vv, and an IPv6 literal that connects.

#include "cli_process.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A command line written as one text, its words apart by single blanks.
QStringList Words(const char* line)
{
    return QString::fromUtf8(line).split(u' ');
}

// A usage error: exit 2, nothing on stdout, the first line "zt5ctl: " and the words expected.
void ExpectUsageError(const QStringList& line, const QStringList& said)
{
    const std::string shown = line.join(u' ').toStdString();
    const CliRun run = RunZt5Ctl(line);
    EXPECT_EQ(run.exitCode, 2) << shown;
    EXPECT_TRUE(run.out.isEmpty()) << shown;
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("zt5ctl: "))) << shown << ": " << run.err.toStdString();
    for (const QString& words : said)
        EXPECT_TRUE(run.err.contains(words)) << shown << ": " << run.err.toStdString();
}

TEST(CliHabits, OneCommandsHelpConflictsAndMistakesNamed)
{
    const CliRun help = RunZt5Ctl(Words("help archive"));
    ASSERT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.err.isEmpty());
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("zt5ctl archive - "))) << help.out.toStdString();
    for (const char* word : {"Запуск: zt5ctl archive hour|day|month|totals", "--date", "--quantities",
                             "--decimal-separator", "Вывод JSON (archive --date)"})
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(word))) << word;
    for (const char* word : {"--maker-id", "--mqtt", "--baud"})
        EXPECT_FALSE(help.out.contains(QString::fromUtf8(word))) << word;
    EXPECT_EQ(RunZt5Ctl(Words("archive --help")).out, help.out);
    const CliRun info = RunZt5Ctl(Words("--demo info -h"));
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_TRUE(info.out.contains(QStringLiteral("Вывод: --format text, json."))) << info.out.toStdString();
    ExpectUsageError(Words("help frobnicate"), {QStringLiteral("неизвестная команда frobnicate")});

    // Two things at once that cannot both be meant: both are named.
    ExpectUsageError(Words("--yes --no --demo set-clock"), {QStringLiteral("--yes и --no")});
    ExpectUsageError(Words("--no --demo --yes set-clock"), {QStringLiteral("--yes и --no")});
    ExpectUsageError(Words("--tcp 127.0.0.1:1 --serial /dev/null info"), {QStringLiteral("--tcp и --serial")});
    ExpectUsageError(Words("info --demo --node Котельная"), {QStringLiteral("--node и --demo")});
    ExpectUsageError(Words("archive day --demo --date 2026-01-01 --to 2026-01-02"), {QStringLiteral("--date и --to")});

    // A date and an address say what is wrong with them.
    ExpectUsageError(Words("archive day --demo --date 2026-02-30"),
                     {QStringLiteral("2026-02-30: в феврале 2026 года 28 дней")});
    ExpectUsageError(Words("archive day --demo --from 2024-02-30 --to 2024-03-01"),
                     {QStringLiteral("--from 2024-02-30: в феврале 2024 года 29 дней")});
    ExpectUsageError(Words("archive day --demo --date 2026-13-01"), {QStringLiteral("2026-13-01: месяца 13 нет")});
    ExpectUsageError(Words("archive day --demo --date 30.01.2026"),
                     {QStringLiteral("30.01.2026: дата пишется как ГГГГ-ММ-ДД или ГГГГ-ММ-ДДTЧЧ")});
    ExpectUsageError(Words("statement day --demo --month 2026-00 -o x.pdf"), {QStringLiteral("2026-00: месяца 0 нет")});
    ExpectUsageError(Words("--tcp [::1 info"), {QStringLiteral("нет скобки \"]\"")});
    ExpectUsageError(Words("--tcp ::1:502 info"), {QStringLiteral("[::1]:ПОРТ")});
    ExpectUsageError(Words("--udp meter:70000 info"), {QStringLiteral("порт 70000 - не число 1..65535")});
    ExpectUsageError(Words("-vx info"), {QStringLiteral("-x")});

    // -q keeps a warning off stderr; the result still comes.
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QStringList collect{QStringLiteral("collect"), QStringLiteral("--workdir"), work.path(),
                              QStringLiteral("--database"), QStringLiteral("sqlite:") + work.filePath("a.sqlite")};
    const CliRun told = RunZt5Ctl(collect);
    EXPECT_EQ(told.exitCode, 0) << told.err.toStdString();
    EXPECT_TRUE(told.err.contains(QStringLiteral("Нет приборов для опроса"))) << told.err.toStdString();
    const CliRun quiet = RunZt5Ctl(QStringList{QStringLiteral("-q")} + collect);
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err.toStdString();
    EXPECT_TRUE(quiet.err.isEmpty()) << quiet.err.toStdString();
    EXPECT_EQ(quiet.out, told.out);

    // A failure is still told with -q, under the program's name, even where the system calls it information.
    const CliRun refused = RunZt5Ctl(Words("-q --tcp 127.0.0.1:1 --attempts 1 info"));
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_TRUE(refused.err.startsWith(QStringLiteral("zt5ctl: "))) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Connection refused"))) << refused.err.toStdString();
    const QString missing = work.filePath(QStringLiteral("no/such/folder/meter.zt5"));
    const CliRun unwritten = RunZt5Ctl(
        {QStringLiteral("-q"), QStringLiteral("--demo"), QStringLiteral("read-config"), QStringLiteral("-o"), missing});
    EXPECT_EQ(unwritten.exitCode, 5);
    EXPECT_TRUE(unwritten.err.startsWith(QStringLiteral("zt5ctl: "))) << unwritten.err.toStdString();
    EXPECT_TRUE(unwritten.err.contains(missing)) << unwritten.err.toStdString();
}

TEST(CliHabits, CombinedFlagsAndAnIpv6LiteralReachTheSimulator)
{
    const SimProcess sim({QStringLiteral("--tcp"), QStringLiteral("[::1]:0")});
    if (sim.Place().isEmpty())
        GTEST_SKIP() << "no IPv6 loopback on this machine";
    ASSERT_TRUE(sim.Place().startsWith(QStringLiteral("[::1]:"))) << sim.Place().toStdString();

    const CliRun run = RunZt5Ctl({QStringLiteral("-vv"), QStringLiteral("--tcp"), sim.Place(), QStringLiteral("info")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Заводской номер: 170001"))) << run.out.toStdString();
    // -vv: the channel first, then the exchange monitor of -v.
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Канал связи: TCP %1, адрес 0").arg(sim.Place())))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("==>>"))) << run.err.toStdString();

    const CliRun once = RunZt5Ctl({QStringLiteral("-v"), QStringLiteral("--tcp"), sim.Place(), QStringLiteral("info")});
    ASSERT_EQ(once.exitCode, 0) << once.err.toStdString();
    EXPECT_FALSE(once.err.contains(QStringLiteral("Канал связи: "))) << once.err.toStdString();
    EXPECT_EQ(once.out, run.out);
}

}  // namespace
