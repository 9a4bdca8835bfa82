#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace {

QString Parse(QStringList arguments, SimOptions& options)
{
    bool help = false;
    arguments.prepend(QStringLiteral("--pty"));
    return ParseSimOptions(arguments, options, &help);
}

}  // namespace

TEST(SimOptions, MemoryOfTheMeter)
{
    SimOptions options;
    ASSERT_EQ(Parse({"--password", "a1!", "--bad-tunes-crc", "--bad-open-crc", "--archive-days", "10", "--archive-end",
                     "2024-02-29T05", "--seed", "9"},
                    options),
              QString());
    EXPECT_EQ(options.password, QByteArray("a1!"));
    EXPECT_TRUE(options.badTunesChecksum);
    EXPECT_TRUE(options.badOpenChecksum);
    EXPECT_EQ(options.archives.days, 10);
    EXPECT_TRUE(options.archives.fixedEnd);
    EXPECT_TRUE((options.archives.end == TChronoArch{29, 2, 24, 5}));
    EXPECT_EQ(options.seed, 9u);

    SimOptions defaults;
    ASSERT_EQ(Parse({"--archive-end", "2025-01-31"}, defaults), QString());
    EXPECT_EQ(defaults.password, QByteArray("12345"));
    EXPECT_FALSE(defaults.badTunesChecksum);
    EXPECT_EQ(defaults.archives.days, 92);
    EXPECT_TRUE((defaults.archives.end == TChronoArch{31, 1, 25, 0}));

    const QList<QStringList> wrong = {
        {"--password", "123456"},        {"--password", "12 3"},
        {"--password", "пароль"},        {"--password"},
        {"--archive-days", "3651"},      {"--archive-end", "2023-02-29"},
        {"--archive-end", "2024-13-01"}, {"--archive-end", "2024-01-01T24"},
        {"--archive-end", "1999-12-31"}, {"--archive-end", "2024-1-1"},
    };
    for (const QStringList& arguments : wrong) {
        SimOptions refused;
        const QString error = Parse(arguments, refused);
        EXPECT_TRUE(error.startsWith(arguments.first()))
            << arguments.join(' ').toStdString() << ": " << error.toStdString();
    }
}

TEST(SimOptions, HelpNamesEveryOption)
{
    const QString help = SimHelpText();
    for (const char* option : {"--tcp",           "--udp",
                               "--pty",           "--serial",
                               "--baud",          "--framing",
                               "--address",       "--model",
                               "--serial-number", "--firmware-level",
                               "--hw-version",    "--sw-version",
                               "--password",      "--bad-tunes-crc",
                               "--bad-open-crc",  "--archive-days",
                               "--archive-end",   "--fault",
                               "--seed",          "--fault-delay-ms",
                               "--baud-delay",    "-v",
                               "--stand",         "--stand-echo",
                               "--help"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}
