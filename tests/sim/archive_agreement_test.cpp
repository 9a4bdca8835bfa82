// The simulated meter's archives are one meter's: a month of its records added up the way a monthly
// statement adds them, hours into days, days into the month, and the days against the totals archive.

#include "sim/archive_generator.h"
#include "sim/meter_troubles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr ReportTime kReportTime{23, 25};
constexpr int kPipes = kArchivePipeCount, kInputs = kArchiveInputCount;

// The additive quantities of a record and the integrator that counts each, for pipe or input `i`.
struct Additive {
    const char* name;
    int count;
    double (*record)(const ArchiveRecord&, int);
    double (*totals)(const TotalsBody&, int);
};
const Additive kAdditives[] = {
    {"V", kPipes, [](const ArchiveRecord& r, int i) -> double { return r.pipes[i].V; },
     [](const TotalsBody& t, int i) { return t.pipes[i].V; }},
    {"M", kPipes, [](const ArchiveRecord& r, int i) -> double { return r.pipes[i].M; },
     [](const TotalsBody& t, int i) { return t.pipes[i].M; }},
    {"dM", kInputs, [](const ArchiveRecord& r, int i) -> double { return r.inputs[i].dM; },
     [](const TotalsBody& t, int i) { return t.inputs[i].dM; }},
    {"Qтв", kInputs, [](const ArchiveRecord& r, int i) -> double { return r.inputs[i].Qtv; },
     [](const TotalsBody& t, int i) { return t.inputs[i].Qtv; }},
    {"Q12", kInputs, [](const ArchiveRecord& r, int i) -> double { return r.inputs[i].Q12; },
     [](const TotalsBody& t, int i) { return t.inputs[i].Q12; }},
    {"Qг", kInputs, [](const ArchiveRecord& r, int i) -> double { return r.inputs[i].Qg; },
     [](const TotalsBody& t, int i) { return t.inputs[i].Qg; }},
    {"ДП", 1, [](const ArchiveRecord& r, int) -> double { return r.dp; },
     [](const TotalsBody& t, int) { return t.dp; }},
};

// A sum of stored floats against the longer record's float: equal to the float's last digits.
void ExpectSum(double sum, double stored, const char* name, int i)
{
    EXPECT_NEAR(sum, stored, 1e-6 * std::fabs(sum) + 1e-6) << name << " " << i + 1;
}

// What a statement adds up over some records.
struct Addition {
    double sums[std::size(kAdditives)][kPipes] = {};
    double tWeighted[kPipes] = {}, PWeighted[kPipes] = {}, minutes[kInputs] = {};
    int VNR[kInputs] = {}, VOS[kInputs] = {};
    ArchiveRecord flags{};  // the OR of flag bytes, flag words and events

    void Add(const ArchiveRecord& part)
    {
        for (std::size_t q = 0; q < std::size(kAdditives); ++q) {
            for (int i = 0; i < kAdditives[q].count; ++i)
                sums[q][i] += kAdditives[q].record(part, i);
        }
        for (int k = 0; k < kPipes; ++k) {
            tWeighted[k] += part.pipes[k].t * part.inputs[k / 3].VNR;
            PWeighted[k] += part.pipes[k].P * part.inputs[k / 3].VNR;
            flags.pipeFlags[k] |= part.pipeFlags[k];
        }
        for (int n = 0; n < kInputs; ++n) {
            minutes[n] += part.inputs[n].VNR;
            VNR[n] += part.inputs[n].VNR;
            VOS[n] += part.inputs[n].VOS;
            flags.inputFlags[n] |= part.inputFlags[n];
        }
        flags.events |= part.events;
    }
    // The longer record is these parts: sums, times, flags, and averages over operating time.
    void ExpectIn(const ArchiveRecord& whole) const
    {
        for (std::size_t q = 0; q < std::size(kAdditives); ++q) {
            for (int i = 0; i < kAdditives[q].count; ++i)
                ExpectSum(sums[q][i], kAdditives[q].record(whole, i), kAdditives[q].name, i);
        }
        for (int k = 0; k < kPipes; ++k) {
            const double weight = minutes[k / 3];
            EXPECT_NEAR(weight > 0 ? tWeighted[k] / weight : 0.0, whole.pipes[k].t, 1e-4) << "t " << k + 1;
            EXPECT_NEAR(weight > 0 ? PWeighted[k] / weight : 0.0, whole.pipes[k].P, 1e-6) << "P " << k + 1;
            EXPECT_EQ(+flags.pipeFlags[k], +whole.pipeFlags[k]) << k + 1;
        }
        for (int n = 0; n < kInputs; ++n) {
            EXPECT_EQ(VNR[n], +whole.inputs[n].VNR);
            EXPECT_EQ(VOS[n], +whole.inputs[n].VOS);
            EXPECT_EQ(+flags.inputFlags[n], +whole.inputFlags[n]);
        }
        EXPECT_EQ(+flags.events, +whole.events);
    }
};

// Hours of input `n` whose record carries a pipe flag of the input, or an input flag.
int FlaggedHours(const std::vector<ArchiveRecord>& hours, int n, std::uint8_t pipeFlag, std::uint16_t inputFlag = 0)
{
    int count = 0;
    for (const ArchiveRecord& hour : hours) {
        const bool pipe = (hour.pipeFlags[3 * n] | hour.pipeFlags[3 * n + 1] | hour.pipeFlags[3 * n + 2]) & pipeFlag;
        count += (pipe || (hour.inputFlags[n] & inputFlag)) ? 1 : 0;
    }
    return count;
}

}  // namespace

TEST(ArchiveAgreement, AMonthOfHoursMakesItsDaysItsMonthAndItsTotals)
{
    const ArchiveGenerator generator(5);
    // The February record covers 25.01 23:00 to 25.02 23:00: 31 daily records.
    const TChronoArch monthEnd{25, 2, 24, 23};
    TChronoArch day = StepArchiveDate(kArchiveMonthly, monthEnd, -1, kReportTime);
    TotalsBody before = generator.Totals(day).body;
    const TotalsBody monthStart = before;
    Addition month;
    int cutDays = 0;
    for (int d = 0; d < 31; ++d) {
        const TChronoArch previous = day;
        day = StepArchiveDate(kArchiveDaily, day, 1, kReportTime);
        SCOPED_TRACE(testing::Message() << int(day.day) << "." << int(day.month));
        std::vector<ArchiveRecord> hours;
        Addition ofHours;
        for (TChronoArch hour = NextHour(previous); HourDifference(day, hour) >= 0; hour = NextHour(hour)) {
            hours.push_back(generator.ValueRecord(kArchiveHourly, hour, kReportTime));
            ofHours.Add(hours.back());
        }
        ASSERT_EQ(hours.size(), 24u);
        const ArchiveRecord daily = generator.ValueRecord(kArchiveDaily, day, kReportTime);
        ofHours.ExpectIn(daily);
        month.Add(daily);

        // The totals grow by the day: integrators by its sums, hour counters by its minutes and НС hours.
        const TotalsBody after = generator.Totals(day).body;
        for (const Additive& q : kAdditives) {
            for (int i = 0; i < q.count; ++i)
                ExpectSum(q.totals(after, i) - q.totals(before, i), q.record(daily, i), q.name, i);
        }
        for (int n = 0; n < kInputs; ++n) {
            const TotalsInputValues &a = after.inputs[n], &b = before.inputs[n];
            EXPECT_EQ((a.VNR - b.VNR) * 60, +daily.inputs[n].VNR);
            EXPECT_EQ((a.VOS - b.VOS) * 60, +daily.inputs[n].VOS);
            EXPECT_EQ(a.vMinTime - b.vMinTime, FlaggedHours(hours, n, 0x20));
            EXPECT_EQ(a.vMaxTime - b.vMaxTime, FlaggedHours(hours, n, 0x40));
            EXPECT_EQ(a.dtTime - b.dtTime, FlaggedHours(hours, n, 0, 0x0001));
            EXPECT_EQ(a.tFaultTime - b.tFaultTime, FlaggedHours(hours, n, 0x04));
            // Without power the meter stands: stop time and the no-power НС, no heat, nothing measured.
            const bool cut = day.day == PowerCutDay(5, day.year, day.month);
            EXPECT_EQ(a.powerOffTime - b.powerOffTime, cut ? 24 : 0);
            EXPECT_EQ(+daily.inputs[n].VOS, cut ? 1440 : 0);
            if (cut) {
                EXPECT_EQ(+daily.inputs[n].Qtv, 0.0f);
                EXPECT_EQ(+daily.pipes[3 * n].t, 0.0f);
                EXPECT_TRUE(daily.events & 0x0002);
            }
        }
        cutDays += day.day == PowerCutDay(5, day.year, day.month) ? 1 : 0;
        before = after;
    }
    EXPECT_TRUE(day == monthEnd);
    month.ExpectIn(generator.ValueRecord(kArchiveMonthly, monthEnd, kReportTime));

    // The month shows every НС on either input, and one day without power.
    EXPECT_EQ(cutDays, 1);
    for (int n = 0; n < kInputs; ++n) {
        const TotalsInputValues &a = before.inputs[n], &b = monthStart.inputs[n];
        EXPECT_GT(a.vMinTime - b.vMinTime, 0) << n;
        EXPECT_GT(a.vMaxTime - b.vMaxTime, 0) << n;
        EXPECT_GT(a.dtTime - b.dtTime, 0) << n;
        EXPECT_GT(a.tFaultTime - b.tFaultTime, 0) << n;
        EXPECT_EQ(a.VNR - b.VNR + a.VOS - b.VOS, 31 * 24) << n;
    }

    // The current totals carry the archive on: the finished hours, then the running one pro rata.
    const TChronoArch evening{11, 2, 24, 23};
    const MeterSeconds now = SecondsOf(TChronoArch{12, 2, 24, 10}) + 30 * 60;
    double volume = generator.Totals(evening).body.pipes[0].V;
    for (TChronoArch hour = NextHour(evening); hour.hour <= 10; hour = NextHour(hour))
        volume += generator.ValueRecord(kArchiveHourly, hour, kReportTime).pipes[0].V;
    volume += 0.5 * generator.ValueRecord(kArchiveHourly, TChronoArch{12, 2, 24, 11}, kReportTime).pipes[0].V;
    EXPECT_NEAR(generator.CurrentTotals(now, 0).body.pipes[0].V, volume, 1e-6);

    // And it looks like winter heating: a hot supply, a cooler return, less water back than out.
    const ArchiveRecord daily = generator.ValueRecord(kArchiveDaily, TChronoArch{5, 3, 24, 23}, kReportTime);
    for (int n = 0; n < kInputs; ++n) {
        const ArchivePipeValues supply = daily.pipes[3 * n], back = daily.pipes[3 * n + 1];
        EXPECT_GT(+supply.t, 60.0f);
        EXPECT_LT(+supply.t, 100.0f);
        EXPECT_LT(+back.t, supply.t - 10.0f);
        EXPECT_GT(+supply.M, +back.M);
        EXPECT_GT(+daily.inputs[n].Qtv, 0.0f);
        EXPECT_GT(+supply.P, +back.P);
    }
    EXPECT_LT(+daily.inputs[0].tnv, 15.0f);
}
