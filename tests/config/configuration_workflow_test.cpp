// A configuration made without a meter the way a user makes it: defaults, a scheme, edited values,
// the checks, a settings file and back.

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <cstring>

#include "config/open_settings_text.h"
#include "config/pressure_units.h"
#include "config/scheme_picker.h"
#include "config/tunes_defaults.h"
#include "config/tunes_file.h"
#include "config/tunes_validation.h"
#include "support/recording_message_host.h"

namespace {

TEST(ConfigurationWorkflow, MadeCheckedSavedAndReopened)
{
    ConfigurationBlocks made;
    MakeDefaultConfiguration(made);
    RecordingMessageHost host;
    EXPECT_FALSE(ValidateTunes(made, host)) << "the factory record uses no input yet";
    EXPECT_EQ(host.LastText(), QStringLiteral("В БД1 тепловые вводы не задействованы!"));

    DbSettings& db1 = made.tunes.db[0];
    ASSERT_TRUE(ApplySchemeChoice(db1, 0, made.identity, 5, 3, host));  // КТ3 3, ФРТ 3
    db1.pipes[0][0].contractPressure = PressureFromDisplay(6.11832, made.tunes.UnitSystem());
    db1.pipes[0][1].SetPressureSensor(true);
    db1.inputs[0].SetImbalanceControl(4);  // not offered by this combination: the checks clear it
    made.tunes.extra.SetUse(2);
    made.tunes.extra.weightOrConfirmation = 0.25f;
    made.tunes.extra.hourlyMax = 1000.0f;
    ASSERT_TRUE(SetOrganisationCode(made.open, QStringLiteral("ТЭЦ-2")));
    made.controls.controls[0].SetKind(kControlPipe);
    made.controls.controls[0].SetNumber(1);
    made.controls.controls[0].maximum = 95.0f;

    const std::size_t before = host.shown.size();
    ASSERT_TRUE(ValidateTunes(made, host)) << host.LastText().toStdString();
    EXPECT_EQ(host.shown.size(), before);
    EXPECT_EQ(db1.inputs[0].ImbalanceControl(), 0u);

    QTemporaryDir dir;
    QString savedAs;
    ASSERT_TRUE(SaveTunesFile(dir.filePath("Узел 7"), made, host, &savedAs));
    EXPECT_TRUE(savedAs.endsWith(QStringLiteral("Узел 7.zt5")));

    ConfigurationBlocks opened;
    MakeDefaultConfiguration(opened);
    ASSERT_TRUE(OpenTunesFile(savedAs, opened, host));
    made.identity.typeCode = kDeviceTypeCode;
    EXPECT_EQ(std::memcmp(&opened.identity, &made.identity, sizeof made.identity), 0);
    EXPECT_EQ(std::memcmp(&opened.tunes, &made.tunes, sizeof made.tunes), 0);
    EXPECT_EQ(std::memcmp(&opened.open, &made.open, sizeof made.open), 0);
    EXPECT_EQ(std::memcmp(&opened.controls, &made.controls, sizeof made.controls), 0);
    EXPECT_EQ(OrganisationCode(opened.open), QStringLiteral("ТЭЦ-2"));
    EXPECT_FLOAT_EQ(float(opened.tunes.db[0].pipes[0][0].contractPressure), 0.6f);
    EXPECT_TRUE(ValidateTunes(opened, host));
}

}  // namespace
