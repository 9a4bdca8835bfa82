// Option parsing edge cases, cheaper here than through a process each.

#include "cli/cli_options.h"
#include "cli/commands_archive.h"
#include "cli/connection_setup.h"
#include "cli/terminal_output.h"

#include <gtest/gtest.h>

namespace {

CliOptions Parsed(const QStringList& words, QString* error = nullptr)
{
    CliOptions options;
    const QString text = ParseCliOptions(words, options);
    if (error)
        *error = text;
    else
        EXPECT_TRUE(text.isEmpty()) << text.toStdString();
    return options;
}

TEST(CliOptions, OptionsStandAnywhereInBothForms)
{
    const CliOptions options = Parsed(
        {QStringLiteral("-v"), QStringLiteral("archive"), QStringLiteral("--date=2024-01-02"), QStringLiteral("hour"),
         QStringLiteral("--count"), QStringLiteral("3"), QStringLiteral("--framing=PPP"), QStringLiteral("--parity"),
         QStringLiteral("mark"), QStringLiteral("--stop-bits"), QStringLiteral("1.5"), QStringLiteral("--"),
         QStringLiteral("--yes")});
    EXPECT_TRUE(options.verbose);
    EXPECT_EQ(options.command, QStringLiteral("archive"));
    EXPECT_EQ(options.arguments, (QStringList{QStringLiteral("hour"), QStringLiteral("--yes")}));
    EXPECT_EQ(options.date, QStringLiteral("2024-01-02"));
    EXPECT_EQ(options.count, 3);
    EXPECT_EQ(options.framing, 2);
    EXPECT_EQ(options.parity, 3);
    EXPECT_EQ(options.stopBits, 1);
    EXPECT_EQ(options.answer, QuestionAnswer::kAsk);  // after "--" it is a word, not an answer
}

TEST(CliOptions, BadValuesAreUsageErrorsNamingTheOption)
{
    const QList<std::pair<QStringList, const char*>> cases = {
        {{QStringLiteral("--address"), QStringLiteral("256")}, "--address"},
        {{QStringLiteral("--address"), QStringLiteral("-1")}, "--address"},
        {{QStringLiteral("--timeout")}, "--timeout"},
        {{QStringLiteral("--tcp"), QStringLiteral("host:0")}, "--tcp"},
        {{QStringLiteral("--udp"), QStringLiteral(":502")}, "--udp"},
        {{QStringLiteral("--functions"), QStringLiteral("all")}, "--functions"},
        {{QStringLiteral("--demo=1")}, "--demo"},
        {{QStringLiteral("--serial-number"), QStringLiteral("4294967296")}, "--serial-number"},
        {{QStringLiteral("-x")}, "-x"},
    };
    for (const auto& [words, option] : cases) {
        QString error;
        Parsed(words, &error);
        EXPECT_TRUE(error.contains(QLatin1String(option))) << error.toStdString();
    }
    // A negative number is a word of the command, not an option.
    const CliOptions negative = Parsed({QStringLiteral("service"), QStringLiteral("-5")});
    EXPECT_EQ(negative.arguments, QStringList{QStringLiteral("-5")});
}

TEST(CliOptions, LineOptionsOverTheDefaults)
{
    CliOptions options = Parsed({QStringLiteral("--udp"), QStringLiteral("10.0.0.7:5002"), QStringLiteral("--attempts"),
                                 QStringLiteral("2"), QStringLiteral("--functions"), QStringLiteral("standard")});
    EXPECT_TRUE(CheckConnectionOptions(options).isEmpty());
    const ConnectionPlan plan = PlanConnection(options, nullptr);
    EXPECT_EQ(plan.settings.kind, kChannelIp);
    EXPECT_EQ(plan.settings.tcp, 0);
    EXPECT_EQ(plan.settings.ipAddress, QStringLiteral("10.0.0.7"));
    EXPECT_EQ(plan.settings.ipPort, 5002);
    EXPECT_EQ(plan.settings.attempts, 2);
    EXPECT_EQ(plan.settings.answerTimeoutSec, 3);
    EXPECT_EQ(plan.target.functionSet, 0);
    EXPECT_EQ(plan.target.networkAddress, 0);

    NodeRecord node = NodeRecord::New(kChannelDirect, FreePortTable::AllFree());
    node.SetBaudRate(9600);
    node.SetNetworkAddress(9);
    options = Parsed({QStringLiteral("--node"), QStringLiteral("x"), QStringLiteral("--bits"), QStringLiteral("7")});
    const ConnectionPlan fromNode = PlanConnection(options, &node);
    EXPECT_EQ(fromNode.settings.kind, kChannelDirect);
    EXPECT_EQ(fromNode.settings.baudRate, 9600);
    EXPECT_EQ(fromNode.settings.byteSize, 7);
    EXPECT_EQ(fromNode.target.networkAddress, 9);
    EXPECT_EQ(fromNode.target.functionSet, 1);
}

TEST(CliOptions, ArchiveDatesAndTerminalText)
{
    const std::optional<TChronoArch> withHour = ParseArchiveDate(QStringLiteral("2024-02-29T23"));
    ASSERT_TRUE(withHour);
    EXPECT_EQ(*withHour, (TChronoArch{29, 2, 24, 23}));
    EXPECT_EQ(ParseArchiveDate(QStringLiteral("2024-03-01")), (TChronoArch{1, 3, 24, 0}));
    for (const char* bad : {"2023-02-29", "2024-03-01T24", "1999-12-31", "2024-3-1", "2024-03-01T5", ""})
        EXPECT_FALSE(ParseArchiveDate(QLatin1String(bad))) << bad;

    EXPECT_EQ(TerminalText(QStringLiteral("a\r\nb\rc\n")), QStringLiteral("a\nb\nc\n"));
}

}  // namespace
