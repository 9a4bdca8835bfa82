// zt5ctl against the simulated meter as a separate process, over loopback TCP and over a
// pseudo-terminal, in both function sets and the three framings.

#include "cli_process.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

enum class Line { kTcp, kPty };

using LineCase = std::tuple<Line, const char*, const char*>;  // line, framing, function set

class CliLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(CliLines, InfoAndCurrentValuesComeThrough)
{
    const auto [line, framing, functions] = GetParam();
    const QStringList simLine = line == Line::kTcp ? QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}
                                                   : QStringList{QStringLiteral("--pty")};
    SimProcess sim(simLine
                   + QStringList{QStringLiteral("--framing"), QLatin1String(framing), QStringLiteral("--serial-number"),
                                 QStringLiteral("424242")});
    ASSERT_FALSE(sim.Place().isEmpty());
    const QStringList where = line == Line::kTcp ? QStringList{QStringLiteral("--tcp"), sim.Place()}
                                                 : QStringList{QStringLiteral("--serial"), sim.Place()};
    const QStringList common = where + QStringList{QStringLiteral("--framing"),   QLatin1String(framing),
                                                   QStringLiteral("--functions"), QLatin1String(functions),
                                                   QStringLiteral("--timeout"),   QStringLiteral("2")};

    const CliRun info = RunZt5Ctl(QStringList{QStringLiteral("info")} + common);
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("Заводской номер: 424242\n"))) << info.out.toStdString();
    EXPECT_TRUE(info.err.isEmpty()) << info.err.toStdString();

    const CliRun current = RunZt5Ctl(QStringList{QStringLiteral("current"), QStringLiteral("--totals")} + common);
    ASSERT_EQ(current.exitCode, 0) << current.err.toStdString();
    EXPECT_TRUE(current.out.startsWith(QStringLiteral("ТЕКУЩИЕ ИТОГОВЫЕ ЗНАЧЕНИЯ "))) << current.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(LinesFramingsFunctions, CliLines,
                         ::testing::Combine(::testing::Values(Line::kTcp, Line::kPty),
                                            ::testing::Values("rtu", "ascii", "ppp"),
                                            ::testing::Values("standard", "extended")));

}  // namespace
