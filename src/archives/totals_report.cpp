#include "archives/archive_reports.h"

#include "archives/report_text.h"

namespace {

constexpr int kTotalsWidth = 12;

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
    text.TableHead("           V           M");
    for (int k = 0; k < kArchivePipeCount; ++k) {
        text.PipeHead(k + 1);
        text.Value(body.pipes[k].V, 5, kTotalsWidth);
        text.Value(body.pipes[k].M, 5, kTotalsWidth);
        text.EndLine();
    }

    text.EndLine();
    text.TableHead(
        "        dM          Qтв         Q12         Qг          ВНР         ВОС         "
        "НС Vmin     НС Vmax     НС dt       НС отк.пит. НС tнеиспр.");
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const TotalsInputValues& input = body.inputs[n];
        text.InputHead(n + 1);
        text.Value(input.dM, 5, kTotalsWidth);
        text.Value(input.Qtv, 5, kTotalsWidth);
        text.Value(input.Q12, 5, kTotalsWidth);
        text.Value(input.Qg, 5, kTotalsWidth);
        AddInputTimes(text, input);
        text.EndLine();
    }

    text.DpSection(body.dp, kTotalsWidth, QString());
    text.Counters(body.networkMinutesWithoutPower, body.displayMinutesWithoutPower, body.minutesPowerOff);
    text.ActiveSet(body.activeSet + 1);
    return text.Take();
}
