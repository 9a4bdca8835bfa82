#include "sim/sim_help.h"
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
    ASSERT_EQ(Parse({"--password", "a1!", "--blank-config", "--bad-tunes-crc", "--bad-open-crc", "--archive-days", "10",
                     "--archive-end", "2024-02-29T05", "--seed", "9"},
                    options),
              QString());
    EXPECT_EQ(options.password, QByteArray("a1!"));
    EXPECT_TRUE(options.blankConfiguration);
    EXPECT_TRUE(options.badTunesChecksum);
    EXPECT_TRUE(options.badOpenChecksum);
    EXPECT_EQ(options.archives.days, 10);
    EXPECT_TRUE(options.archives.fixedEnd);
    EXPECT_TRUE((options.archives.end == TChronoArch{29, 2, 24, 5}));
    EXPECT_EQ(options.seed, 9u);

    SimOptions defaults;
    ASSERT_EQ(Parse({"--archive-end", "2025-01-31"}, defaults), QString());
    EXPECT_EQ(defaults.password, QByteArray("12345"));
    EXPECT_FALSE(defaults.blankConfiguration);
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
    for (const char* option : {"--tcp",
                               "--udp",
                               "--pty",
                               "--serial",
                               "--baud",
                               "--framing",
                               "--address",
                               "--model",
                               "--serial-number",
                               "--firmware-level",
                               "--hw-version",
                               "--sw-version",
                               "--password",
                               "--bad-tunes-crc",
                               "--blank-config",
                               "--bad-open-crc",
                               "--archive-days",
                               "--archive-end",
                               "--fault",
                               "--seed",
                               "--fault-delay-ms",
                               "--baud-delay",
                               "-v",
                               "--help",
                               "--version",
                               "--stand",
                               "--stand-echo",
                               "--modem-pty",
                               "--modem-speed",
                               "--modem-answer",
                               "--modem-guard-ms",
                               "--modem-dial-ms",
                               "--max-clients"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}

// The help table and the parser are separate code: every option the help shows must be one the parser
// takes (a wrong value may be refused, an unknown name must not be).
TEST(SimOptions, ParserTakesEveryOptionTheHelpLists)
{
    int checked = 0;
    for (const HelpGroup& group : SimHelp().groups) {
        for (const HelpOption& option : group.options) {
            QStringList spellings{QStringLiteral("--") + option.name};
            if (option.shortName)
                spellings << QStringLiteral("-%1").arg(QLatin1Char(option.shortName));
            for (const QString& spelling : spellings) {
                QStringList words{spelling};
                if (!option.valueName.isEmpty())
                    words << QStringLiteral("1");
                SimOptions options;
                const QString error = Parse(words, options);
                EXPECT_FALSE(error.contains(QStringLiteral("неизвестный параметр"))) << spelling.toStdString();
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 30);
}

// Every word must be an option, its value the next word whatever it looks like; an option left without
// its value says what it wants, and an empty path is still a value.
TEST(SimOptions, EveryWordIsAnOptionAndAValueIsTheNextWord)
{
    const QList<std::pair<QStringList, QString>> cases = {
        {{"--serial"}, "--serial ждет путь к порту"},
        {{"--fault"}, "--fault ждет ВИД=ЧАСТОТА"},
        {{"--stand"}, "--stand ждет pty или путь к порту"},
        {{"--stand", ""}, "--stand ждет pty или путь к порту"},
        {{"--tcp"}, "--tcp ждет HOST:PORT"},
        {{"--tcp=127.0.0.1:0"}, "неизвестный параметр: --tcp=127.0.0.1:0"},
        {{"--"}, "неизвестный параметр: --"},
        {{"meter"}, "неизвестный параметр: meter"},
        {{"-x"}, "неизвестный параметр: -x"},
        {{"--pty=1"}, "неизвестный параметр: --pty=1"},
        {{"--seed", "--pty"}, "--seed ждет число"},
    };
    for (const auto& [words, expected] : cases) {
        SimOptions options;
        EXPECT_EQ(Parse(words, options), expected) << words.join(' ').toStdString();
    }

    SimOptions serial;
    bool help = false;
    ASSERT_EQ(ParseSimOptions({"--serial", "", "--address", "0x10", "-v"}, serial, &help), QString());
    EXPECT_TRUE(serial.endpoint == SimOptions::Endpoint::Serial);
    EXPECT_TRUE(serial.serialPath.isEmpty());
    EXPECT_EQ(+serial.address, 16);
    EXPECT_TRUE(serial.verbose);

    // --help counts once it has been read, even when a later word is wrong.
    SimOptions helped;
    EXPECT_FALSE(ParseSimOptions({"-h", "--bogus"}, helped, &help).isEmpty());
    EXPECT_TRUE(help);
    EXPECT_FALSE(ParseSimOptions({"--bogus", "-h"}, helped, &help).isEmpty());
    EXPECT_FALSE(help);
}
