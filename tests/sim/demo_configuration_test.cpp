// The configuration the simulated meter starts with: it passes the checks a configuration passes before
// it is written (without needing a repair), the settings report shows its inputs, and the archives the
// meter answers carry the same schemes and flows that fit its limits.

#include "sim/archive_generator.h"
#include "sim/demo_configuration.h"

#include "config/model_capabilities.h"
#include "config/settings_report.h"
#include "config/tunes_validation.h"

#include <QDateTime>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class CollectedMessages : public ConfigMessageHost {
public:
    int ShowMessage(const QString& text, const QString&, unsigned) override
    {
        texts.push_back(text);
        return 1;
    }
    std::vector<QString> texts;
};

ConfigurationBlocks DemoBlocks(int model, std::uint16_t firmwareLevel)
{
    ConfigurationBlocks blocks{};
    blocks.identity.typeCode = kDeviceTypeCode;
    blocks.identity.modelIndex = static_cast<std::uint8_t>(model);
    blocks.identity.firmwareLevel = firmwareLevel;
    MakeDemoConfiguration(model, 1, blocks.tunes, blocks.open, blocks.controls);
    return blocks;
}

}  // namespace

TEST(DemoConfiguration, PassesTheChecksUnchangedForEveryModel)
{
    for (int model = 0; model < kModelCount; ++model) {
        for (const std::uint16_t level : {511, 515, 600}) {
            SCOPED_TRACE(testing::Message() << "model " << model << ", level " << level);
            ConfigurationBlocks blocks = DemoBlocks(model, level);
            const ConfigurationBlocks before = blocks;
            CollectedMessages host;
            EXPECT_TRUE(ValidateTunes(blocks, host))
                << (host.texts.empty() ? std::string() : host.texts.front().toStdString());
            EXPECT_TRUE(host.texts.empty());
            // Nothing needed repairing: the record is what a careful fitter would have written.
            EXPECT_EQ(std::memcmp(&blocks.tunes, &before.tunes, sizeof blocks.tunes), 0);
            EXPECT_EQ(std::memcmp(&blocks.controls, &before.controls, sizeof blocks.controls), 0);
            // ТВ1 is in use on every model; ТВ2 wherever the model allows its scheme there.
            EXPECT_EQ(+blocks.tunes.db[0].inputs[0].scheme, 1);
            const bool tv2Allowed = model == 1 || model == 2 || model == 3;
            EXPECT_EQ(+blocks.tunes.db[0].inputs[1].scheme, tv2Allowed ? 5 : 0);
            EXPECT_FALSE(blocks.tunes.Db2Used());
        }
    }
}

TEST(DemoConfiguration, SettingsReportListsBothInputsWithTheirSchemes)
{
    const ConfigurationBlocks blocks = DemoBlocks(kDefaultModel, 515);
    const QString report = MakeSettingsReport(blocks, QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    EXPECT_TRUE(report.contains(QStringLiteral("Тепловой ввод 1")));
    EXPECT_TRUE(report.contains(QStringLiteral("Тепловой ввод 2")));
    // The scheme row: "СИ:" then one cell per input.
    const QRegularExpression schemes(QStringLiteral("СИ:.*?>(\\d+)<.*?>(\\d+)<"),
                                     QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = schemes.match(report);
    ASSERT_TRUE(match.hasMatch());
    EXPECT_EQ(match.captured(1), QStringLiteral("1"));
    EXPECT_EQ(match.captured(2), QStringLiteral("5"));
    // Cold water measured on ТВ1's spare channel for both inputs, and a contract that is not blank.
    EXPECT_TRUE(report.contains(QStringLiteral("Изм.на X3")) || report.contains(QStringLiteral("Измеряется на X3")));
    EXPECT_EQ(report.count(QStringLiteral("Электрон.")), 4);
}

TEST(DemoConfiguration, ArchivesCarryItsSchemesAndFlowsWithinItsLimits)
{
    TunesRecord tunes;
    OpenSettings open;
    ControlsBlock controls;
    MakeDemoConfiguration(kDefaultModel, 1, tunes, open, controls);
    const ReportTime report{tunes.reportHour, tunes.reportDay};
    for (const std::uint32_t seed : {1u, 2u, 77u, 4000000000u}) {
        const ArchiveGenerator generator(seed);
        for (int step = 0; step < 24 * 14; step += 5) {
            const TChronoArch hour{static_cast<std::uint8_t>(1 + step / 24), 3, 25,
                                   static_cast<std::uint8_t>(step % 24)};
            const ArchiveRecord record = generator.ValueRecord(kArchiveHourly, hour, report);
            for (int input = 0; input < kInputCount; ++input) {
                const InputSettings& configured = tunes.db[0].inputs[input];
                EXPECT_EQ(+record.schemes[input].si, +configured.scheme);
                EXPECT_EQ(unsigned(record.schemes[input].kt3), configured.Kt3());
                EXPECT_EQ(unsigned(record.schemes[input].frt), configured.Frt());
                for (int pipe = 0; pipe < kPipeCount; ++pipe) {
                    // Within the limits, beyond the one the hour's flag names, or nothing while the meter stood.
                    const PipeSettings& limits = tunes.db[0].pipes[input][pipe];
                    const int k = input * kPipeCount + pipe;
                    const float volume = record.pipes[k].V;
                    const bool low = record.pipeFlags[k] & 0x20, high = record.pipeFlags[k] & 0x40;
                    SCOPED_TRACE(testing::Message() << "seed " << seed << " pipe " << k + 1);
                    if (record.inputs[input].VNR == 0) {
                        EXPECT_EQ(volume, 0.0f);
                        continue;
                    }
                    EXPECT_EQ(volume >= limits.hourlyVolumeMin, !low);
                    EXPECT_EQ(volume <= limits.hourlyVolumeMax, !high);
                }
            }
        }
    }
}
