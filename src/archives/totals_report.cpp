#include "archives/archive_reports.h"

#include "archives/report_text.h"

namespace {

constexpr int kTotalsWidth = 12;

// A value of the tables and one space: a value as wide as its column never runs into the next one.
void AddColumn(ReportText& text, double value)
{
    text.Value(value, 5, kTotalsWidth);
    text.Add(" ");
}

// The abnormal-situation times and work times of an input: "%-8d" and four spaces each.
void AddInputTimes(ReportText& text, const TotalsInputValues& input)
{
    for (std::uint16_t value :
         {input.VNR, input.VOS, input.vMinTime, input.vMaxTime, input.dtTime, input.powerOffTime, input.tFaultTime}) {
        text.Integer(value);
        text.Add("    ");
    }
}

}  // namespace

QString RenderTotals(const CurrentTotalsRecord& totals, TotalsOrigin origin)
{
    ReportText text;
    const DateTimeStamp& time = totals.time;
    if (origin == TotalsOrigin::Current) {
        text.Add("ТЕКУЩИЕ ИТОГОВЫЕ ЗНАЧЕНИЯ ");
        text.Add(StampText(time));
    } else {
        text.Add(QString::asprintf("ИТОГОВЫЕ ЗНАЧЕНИЯ %.2d.%.2d.%.2d %.2d", time.day, time.month, time.year + kBaseYear,
                                   time.hour));
    }
    text.EndLine();

    const TotalsBody& body = totals.body;
    text.TableHead("           V            M");
    for (int k = 0; k < kArchivePipeCount; ++k) {
        text.PipeHead(k + 1);
        AddColumn(text, body.pipes[k].V);
        AddColumn(text, body.pipes[k].M);
        text.EndLine();
    }

    text.EndLine();
    text.TableHead(
        "        dM           Qтв          Q12          Qг           ВНР         ВОС         "
        "НС Vmin     НС Vmax     НС dt       НС отк.пит. НС tнеиспр.");
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const TotalsInputValues& input = body.inputs[n];
        text.InputHead(n + 1);
        for (double value : {input.dM, input.Qtv, input.Q12, input.Qg})
            AddColumn(text, value);
        AddInputTimes(text, input);
        text.EndLine();
    }

    text.DpSection(body.dp, kTotalsWidth, QString());
    text.Counters(body.networkMinutesWithoutPower, body.displayMinutesWithoutPower, body.minutesPowerOff);
    text.ActiveSet(body.activeSet + 1);
    return text.Take();
}
