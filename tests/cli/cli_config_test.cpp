// Configurations through zt5ctl: read from the meter into a file, edited, written back and read again;
// checked offline; and reported exactly as the core's report writer reports them.

#include "cli_process.h"
#include "cli_test_hosts.h"

#include "config/model_capabilities.h"
#include "config/settings_report_output.h"
#include "config/tunes_defaults.h"
#include "config/tunes_file.h"
#include "reports/report_save.h"
#include "reports/report_writer.h"
#include "sim/demo_configuration.h"
#include "support/file_bytes.h"
#include "support/known_configuration.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

ConfigurationBlocks OpenFile(const QString& path)
{
    CollectingHost host;
    ConfigurationBlocks blocks{};
    EXPECT_TRUE(OpenTunesFile(path, blocks, host)) << host.messages.join(QLatin1Char('\n')).toStdString();
    return blocks;
}

void SaveFile(const QString& path, const ConfigurationBlocks& blocks)
{
    CollectingHost host;
    ASSERT_TRUE(SaveTunesFile(path, blocks, host)) << host.messages.join(QLatin1Char('\n')).toStdString();
}

bool SameSettings(const ConfigurationBlocks& a, const ConfigurationBlocks& b)
{
    return std::memcmp(&a.tunes, &b.tunes, sizeof a.tunes) == 0 && std::memcmp(&a.open, &b.open, sizeof a.open) == 0
        && std::memcmp(&a.controls, &b.controls, sizeof a.controls) == 0;
}

class CliConfig : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_FALSE(sim.Place().isEmpty());
    }
    QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    // The meter's configuration read into `name`, then settings that pass the checks put in, with the
    // meter's identity kept.
    ConfigurationBlocks ValidFileFromMeter(const char* name)
    {
        const CliRun read = Run({QStringLiteral("read-config"), QStringLiteral("-o"), Path(name)});
        EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
        EXPECT_TRUE(read.out.isEmpty());
        EXPECT_EQ(ReadAll(Path(name)).size(), 1802);
        ConfigurationBlocks blocks = KnownConfiguration();
        blocks.identity = OpenFile(Path(name)).identity;
        SaveFile(Path(name), blocks);
        return blocks;
    }
    CliRun Run(const QStringList& words) const
    {
        return RunZt5Ctl(words + QStringList{QStringLiteral("--tcp"), sim.Place()});
    }

    QTemporaryDir dir;
    SimProcess sim{{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}};
};

TEST_F(CliConfig, ReadEditWriteReadGivesTheEditedConfiguration)
{
    ASSERT_EQ(Run({QStringLiteral("write-config"), Path("first.zt5")}).exitCode, 5);  // not a file yet
    ValidFileFromMeter("first.zt5");
    const CliRun write = Run({QStringLiteral("write-config"), Path("first.zt5")});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    const CliRun first = Run({QStringLiteral("read-config"), QStringLiteral("-o"), Path("first.zt5")});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();

    ConfigurationBlocks edited = OpenFile(Path("first.zt5"));
    const ConfigurationBlocks original = edited;
    edited.tunes.reportHour = std::uint8_t((edited.tunes.reportHour + 5) % 24);
    SaveFile(Path("edited.zt5"), edited);
    ASSERT_FALSE(SameSettings(original, edited));

    const CliRun written = Run({QStringLiteral("write-config"), Path("edited.zt5")});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_TRUE(written.out.isEmpty());

    const CliRun again = Run({QStringLiteral("read-config"), QStringLiteral("-o"), Path("again.zt5")});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    const ConfigurationBlocks read = OpenFile(Path("again.zt5"));
    EXPECT_TRUE(SameSettings(read, edited));
    EXPECT_EQ(read.tunes.reportHour, edited.tunes.reportHour);
}

TEST_F(CliConfig, ReadConfigGivesTheSimulatedMetersConfigurationBack)
{
    // The simulator starts as a fitter left it: read back, it is the demo configuration and passes the checks.
    ConfigurationBlocks expected{};
    MakeDemoConfiguration(kDefaultModel, 1, expected.tunes, expected.open, expected.controls);
    const CliRun read = Run({QStringLiteral("read-config"), QStringLiteral("-o"), Path("demo.zt5")});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    const ConfigurationBlocks demo = OpenFile(Path("demo.zt5"));
    EXPECT_TRUE(SameSettings(demo, expected));
    EXPECT_EQ(+demo.tunes.db[0].inputs[0].scheme, 1);
    EXPECT_EQ(+demo.tunes.db[0].inputs[1].scheme, 5);
    const CliRun check = RunZt5Ctl({QStringLiteral("check"), Path("demo.zt5")});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();

    // --blank-config: the factory-blank memory, every input unused, no controls.
    SimProcess blankSim{{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--blank-config")}};
    ASSERT_FALSE(blankSim.Place().isEmpty());
    const CliRun blankRead = RunZt5Ctl({QStringLiteral("read-config"), QStringLiteral("-o"), Path("blank.zt5"),
                                        QStringLiteral("--tcp"), blankSim.Place()});
    ASSERT_EQ(blankRead.exitCode, 0) << blankRead.err.toStdString();
    ConfigurationBlocks factory{};
    MakeDefaultTunes(factory.tunes, factory.open);
    EXPECT_TRUE(SameSettings(OpenFile(Path("blank.zt5")), factory));
}

TEST_F(CliConfig, BrokenFileIsRefusedWithItsFirstViolationAndNeverReachesTheMeter)
{
    ConfigurationBlocks broken = ValidFileFromMeter("good.zt5");
    broken.tunes.reportHour = 30;
    broken.tunes.reportDay = 40;  // a later check: only the first violation is told
    SaveFile(Path("broken.zt5"), broken);

    const QString violation = QStringLiteral("Недопустимое значения настройки \"Система: Отч.час\" (30)!");
    const CliRun check = RunZt5Ctl({QStringLiteral("check"), Path("broken.zt5")});
    EXPECT_EQ(check.exitCode, 4);
    EXPECT_TRUE(check.out.isEmpty());
    EXPECT_EQ(check.err, QStringLiteral("zt5ctl: Информация: ") + violation + QLatin1Char('\n'));

    EXPECT_EQ(RunZt5Ctl({QStringLiteral("check"), Path("good.zt5")}).exitCode, 0);

    // The write stops before any line is opened: a closed port would have said so.
    const CliRun write = RunZt5Ctl({QStringLiteral("write-config"), Path("broken.zt5"), QStringLiteral("--tcp"),
                                    QStringLiteral("127.0.0.1:%1").arg(ClosedTcpPort())});
    EXPECT_EQ(write.exitCode, 4);
    EXPECT_EQ(write.err, check.err);

    const CliRun missing = RunZt5Ctl({QStringLiteral("check"), Path("missing.zt5")});
    EXPECT_EQ(missing.exitCode, 5);
    EXPECT_FALSE(missing.err.isEmpty());
}

TEST_F(CliConfig, ReportIsWhatTheCoreWriterMakesOfTheSameFile)
{
    ValidFileFromMeter("meter.zt5");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const CliRun report = RunZt5Ctl({QStringLiteral("report"), Path("meter.zt5"), QStringLiteral("-o"), Path("out")});
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    ASSERT_EQ(report.exitCode, 0) << report.err.toStdString();
    EXPECT_TRUE(report.out.isEmpty());
    const QByteArray written = ReadAll(Path("out.xls"));
    ASSERT_FALSE(written.isEmpty());

    // The report carries the second it was made: one of the seconds around the run must match.
    bool matched = false;
    for (QDateTime formed = before; formed <= after && !matched; formed = formed.addSecs(1)) {
        ConfigurationBlocks blocks = OpenFile(Path("meter.zt5"));
        CollectingHost host;
        SavingReportViewer viewer(Path("expected.xls"), host);
        ASSERT_TRUE(ShowSettingsReport(blocks, host, viewer, {dir.path(), NewReportWindowNumber(), nullptr}, formed));
        matched = ReadAll(Path("expected.xls")) == written;
    }
    EXPECT_TRUE(matched);

    // Without -o the report is named after the settings file.
    const CliRun byName = RunZt5Ctl({QStringLiteral("report"), Path("meter.zt5")});
    ASSERT_EQ(byName.exitCode, 0) << byName.err.toStdString();
    EXPECT_TRUE(QFile::exists(Path("meter.xls")));
}

}  // namespace

TEST_F(CliConfig, ShortFileIsCheckedButNeverWritten)
{
    const ConfigurationBlocks valid = ValidFileFromMeter("whole.zt5");
    ASSERT_EQ(Run({QStringLiteral("write-config"), Path("whole.zt5")}).exitCode, 0);

    // The same settings with another report hour, cut inside the controls block.
    ConfigurationBlocks edited = valid;
    edited.tunes.reportHour = std::uint8_t((valid.tunes.reportHour + 7) % 24);
    SaveFile(Path("cut.zt5"), edited);
    {
        QFile file(Path("cut.zt5"));
        ASSERT_TRUE(file.resize(1750));
    }
    const CliRun check = Run({QStringLiteral("check"), Path("cut.zt5")});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.err.contains(QString::fromUtf8("короче ожидаемого"))) << check.err.toStdString();

    const CliRun write = Run({QStringLiteral("write-config"), Path("cut.zt5"), QStringLiteral("--yes")});
    EXPECT_EQ(write.exitCode, 4);
    EXPECT_TRUE(
        write.err.contains(QString::fromUtf8("не записан в прибор: в нем недостает блок управления (52 байта из 64)")))
        << write.err.toStdString();

    // The meter still holds the whole file's settings.
    const CliRun read = Run({QStringLiteral("read-config"), QStringLiteral("-o"), Path("after.zt5")});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(OpenFile(Path("after.zt5")).tunes.reportHour, valid.tunes.reportHour);
}
