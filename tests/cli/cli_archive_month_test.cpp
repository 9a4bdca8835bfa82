// A month of the simulated meter read with zt5ctl as a monthly statement reads it: the hours add up
// to the days, the days to the month, and the totals archive grows by the days (ВНР and ВОС in hours,
// the НС times by the hours flagged); the month has its НС hours and its day without power.

#include "cli_process.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Records = QList<QJsonObject>;

double Sum(const Records& records, qsizetype from, qsizetype count, const QString& name)
{
    double sum = 0;
    for (qsizetype i = from; i < from + count; ++i)
        sum += records[i].value(name).toDouble();
    return sum;
}

// Stored floats added up against the longer record's float.
double Tolerance(double value)
{
    return 1e-6 * std::fabs(value) + 1e-6;
}

}  // namespace

TEST(CliArchiveMonth, HoursMakeTheDaysTheMonthAndTheTotalsGrowth)
{
    SimProcess sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--archive-end"),
                    QStringLiteral("2024-03-10T12"), QStringLiteral("--seed"), QStringLiteral("7")});
    ASSERT_FALSE(sim.Place().isEmpty());
    const auto read = [&](const char* kind, const char* date, int count) {
        const CliRun run = RunZt5Ctl({QStringLiteral("--tcp"), sim.Place(), QStringLiteral("archive"),
                                      QLatin1String(kind), QStringLiteral("--date"), QLatin1String(date),
                                      QStringLiteral("--count"), QString::number(count), QStringLiteral("--format"),
                                      QStringLiteral("json")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        Records records;
        for (const QString& line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            records << QJsonDocument::fromJson(line.toUtf8()).object();
        return records;
    };
    // The February record covers 25.01 23:00 to 25.02 23:00: 31 days of 24 hours.
    const Records hours = read("hour", "2024-01-26T00", 744);
    const Records days = read("day", "2024-01-26", 31);
    const Records month = read("month", "2024-02-25", 1);
    const Records totals = read("totals", "2024-01-25", 32);
    ASSERT_EQ(hours.size(), 744);
    ASSERT_EQ(days.size(), 31);
    ASSERT_EQ(month.size(), 1);
    ASSERT_EQ(totals.size(), 32);
    EXPECT_EQ(hours[23].value(u"Date").toString(), QStringLiteral("2024-01-26 23:00"));
    EXPECT_EQ(days[0].value(u"Date").toString(), QStringLiteral("2024-01-26 23:00"));
    EXPECT_EQ(totals[0].value(u"Date").toString(), QStringLiteral("2024-01-25 23:00"));
    EXPECT_EQ(month[0].value(u"Date").toString(), QStringLiteral("2024-02-25 23:00"));

    for (int n = 1; n <= 2; ++n) {
        QStringList additive;
        for (const char* name : {"Qwi_%1", "Qo_%1", "Qg_%1", "dM_%1", "VNR_%1", "VOS_%1"})
            additive << QString::fromLatin1(name).arg(n);
        for (int pipe = 1; pipe <= 3; ++pipe)
            additive << QStringLiteral("V%1_%2").arg(n).arg(pipe) << QStringLiteral("M%1_%2").arg(n).arg(pipe);
        for (const QString& name : additive) {
            SCOPED_TRACE(name.toStdString());
            // The totals count ВНР and ВОС in hours, the records in minutes.
            const double scale = name.startsWith(u"VNR") || name.startsWith(u"VOS") ? 60 : 1;
            for (int d = 0; d < 31; ++d) {
                const double daily = days[d].value(name).toDouble();
                EXPECT_NEAR(Sum(hours, 24 * d, 24, name), daily, Tolerance(daily)) << d;
                const double growth = totals[d + 1].value(name).toDouble() - totals[d].value(name).toDouble();
                EXPECT_NEAR(growth * scale, daily, Tolerance(daily)) << d;
            }
            const double monthly = month[0].value(name).toDouble();
            EXPECT_NEAR(Sum(days, 0, 31, name), monthly, Tolerance(monthly));
        }

        // Each НС time grows by the hours whose records carry its flag; no power by the hours stood.
        int cutDays = 0;
        for (int d = 0; d < 31; ++d) {
            int volumeLow = 0, volumeHigh = 0, smallDt = 0, stood = 0;
            for (int h = 24 * d; h < 24 * d + 24; ++h) {
                int pipeFlags = 0;
                for (int pipe = 1; pipe <= 3; ++pipe)
                    pipeFlags |= hours[h].value(QStringLiteral("Pipe_Ns%1_%2").arg(n).arg(pipe)).toInt();
                volumeLow += (pipeFlags & 0x20) ? 1 : 0;
                volumeHigh += (pipeFlags & 0x40) ? 1 : 0;
                smallDt += hours[h].value(QStringLiteral("Wi_Ns_%1").arg(n)).toInt() & 1;
                if (hours[h].value(u"Events").toInt() & 0x0002)
                    stood += hours[h].value(QStringLiteral("VOS_%1").arg(n)).toInt();
            }
            const auto growth = [&](const char* name) {
                const QString column = QString::fromLatin1(name).arg(n);
                return totals[d + 1].value(column).toInt() - totals[d].value(column).toInt();
            };
            EXPECT_EQ(growth("TVmin_%1"), volumeLow) << d;
            EXPECT_EQ(growth("TVmax_%1"), volumeHigh) << d;
            EXPECT_EQ(growth("Tdt_%1"), smallDt) << d;
            EXPECT_EQ(growth("Tnopwr_%1") * 60, stood) << d;
            // The day without power: the meter stood from 23:00 to 23:00 and counted no heat.
            if (days[d].value(QStringLiteral("VOS_%1").arg(n)).toInt() == 1440) {
                ++cutDays;
                EXPECT_EQ(days[d].value(QStringLiteral("Qwi_%1").arg(n)).toDouble(), 0.0);
                EXPECT_EQ(growth("Tnopwr_%1"), 24);
            }
        }
        EXPECT_EQ(cutDays, 1) << n;
        const QString stops = QStringLiteral("VOS_%1").arg(n);
        EXPECT_EQ(totals[31].value(stops).toInt() - totals[0].value(stops).toInt(), 24) << n;
        for (const char* name : {"TVmin_%1", "TVmax_%1", "Tdt_%1", "Tnopwr_%1"}) {
            const QString column = QString::fromLatin1(name).arg(n);
            EXPECT_GT(totals[31].value(column).toInt(), totals[0].value(column).toInt()) << column.toStdString();
        }
    }
}
