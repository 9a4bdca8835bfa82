// zt5ctl before a meter whose stored settings fail their checksum: the commands that do not use the
// settings warn and go on, leaving the meter's memory as it is; read-config refuses to pass the factory
// defaults off as the meter's settings and saves them as read only when asked; write-config repairs.

#include "cli_process.h"
#include "cli_test_hosts.h"

#include "config/tunes_file.h"
#include "support/driver_rig.h"
#include "support/known_configuration.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char* const kMismatch = "Не сошлась прочитанная и расчитанная контрольные суммы настроек!";

class CliTunesChecksum : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // The meter's own settings, unlike the factory ones, with a checksum byte that no longer fits.
        rig.PutMeterConfiguration(meterSettings);
        rig.WithImage([](MeterImage& image) { image.At(AreaRegister(MeterArea::kTunesChecksum))[0] ^= 0xFF; });
        ASSERT_TRUE(rig.Start());
    }
    static RigOptions Options()
    {
        RigOptions options;
        options.threads = false;
        return options;
    }
    CliRun Run(const QStringList& words) const
    {
        return RunZt5Ctl(
            words + QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(rig.server.BoundPort())});
    }
    QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    std::uint8_t StoredChecksumByte()
    {
        std::uint8_t byte = 0;
        rig.WithImage([&](MeterImage& image) { byte = image.At(AreaRegister(MeterArea::kTunesChecksum))[0]; });
        return byte;
    }

    QTemporaryDir dir;
    const ConfigurationBlocks meterSettings = DistinctConfiguration(3, 1);
    DriverRig rig{Options()};
};

}  // namespace

TEST_F(CliTunesChecksum, CommandsWithoutTheSettingsWarnAndLeaveTheMeterAsItIs)
{
    const std::uint8_t before = StoredChecksumByte();
    for (const QStringList& words : {QStringList{QStringLiteral("info")}, QStringList{QStringLiteral("descriptors")},
                                     QStringList{QStringLiteral("current")}}) {
        const CliRun run = Run(words);
        EXPECT_EQ(run.exitCode, 0) << words.first().toStdString() << ": " << run.err.toStdString();
        EXPECT_FALSE(run.out.isEmpty()) << words.first().toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(kMismatch))) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(QString::fromUtf8("Очистить"))) << run.err.toStdString();
    }
    EXPECT_EQ(StoredChecksumByte(), before);
}

TEST_F(CliTunesChecksum, ReadConfigSavesNoFalseBackupAndTheBytesAsReadOnlyWhenAsked)
{
    for (const QString& answer : {QStringLiteral("--no"), QStringLiteral("--yes"), QString()}) {
        QStringList words{QStringLiteral("read-config"), QStringLiteral("-o"), Path("backup.zt5")};
        if (!answer.isEmpty())
            words << answer;
        const CliRun run = Run(words);
        EXPECT_EQ(run.exitCode, 4) << answer.toStdString();
        EXPECT_FALSE(QFile::exists(Path("backup.zt5"))) << answer.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8("не сошлась контрольная сумма"))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(Path("backup.zt5"))) << run.err.toStdString();
    }

    const CliRun asRead = Run(
        {QStringLiteral("read-config"), QStringLiteral("--as-read"), QStringLiteral("-o"), Path("as-read.zt5")});
    ASSERT_EQ(asRead.exitCode, 0) << asRead.err.toStdString();
    EXPECT_TRUE(asRead.err.contains(QString::fromUtf8("контрольная сумма не сошлась"))) << asRead.err.toStdString();
    CollectingHost host;
    ConfigurationBlocks saved{};
    ASSERT_TRUE(OpenTunesFile(Path("as-read.zt5"), saved, host));
    EXPECT_EQ(std::memcmp(&saved.tunes, &meterSettings.tunes, sizeof saved.tunes), 0);
    EXPECT_EQ(std::memcmp(&saved.controls, &meterSettings.controls, sizeof saved.controls), 0);
}

TEST_F(CliTunesChecksum, WriteConfigStillRepairsTheMeter)
{
    ConfigurationBlocks blocks = KnownConfiguration();
    blocks.identity = rig.MeterConfiguration().identity;
    CollectingHost host;
    ASSERT_TRUE(SaveTunesFile(Path("good.zt5"), blocks, host));

    // It asks, as it always did: nobody to answer, no write.
    EXPECT_EQ(Run({QStringLiteral("write-config"), Path("good.zt5")}).exitCode, 4);
    const CliRun written = Run({QStringLiteral("write-config"), Path("good.zt5"), QStringLiteral("--no")});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();

    const CliRun info = Run({QStringLiteral("info")});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_FALSE(info.err.contains(QString::fromUtf8(kMismatch))) << info.err.toStdString();
    const CliRun read = Run({QStringLiteral("read-config"), QStringLiteral("-o"), Path("after.zt5")});
    EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
}
