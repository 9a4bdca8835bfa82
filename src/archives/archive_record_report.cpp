#include "archives/archive_reports.h"

#include "archives/report_text.h"

QString RenderArchiveRecord(const ArchiveRecord& record)
{
    ReportText text;
    const TChronoArch& date = record.date;
    text.Add(QString::asprintf("АРХИВ %.2d.%.2d.%.2d %.2d", date.day, date.month, date.year + kBaseYear, date.hour));
    text.EndLine();
    text.TableHead("           t            P            V            M");
    for (int k = 0; k < kArchivePipeCount; ++k) {
        const ArchivePipeValues& pipe = record.pipes[k];
        const std::uint8_t flags = record.pipeFlags[k];
        text.PipeHead(k + 1);
        text.Value(pipe.t, 3, 10, FlaggedQuantity::PipeT, flags);
        text.Value(pipe.P, 5, 10, FlaggedQuantity::PipeP, flags);
        text.Value(pipe.V, 5, 10, FlaggedQuantity::PipeV, flags);
        text.Value(pipe.M, 5, 10);
        text.EndLine();
    }

    text.EndLine();
    text.TableHead(
        "        tнв          tx           Px           dt           dM           Qтв          "
        "Q12          Qг           ВНР          ВОС");
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const ArchiveInputValues& input = record.inputs[n];
        const std::uint16_t flags = record.inputFlags[n];
        text.InputHead(n + 1);
        text.Value(input.tnv, 3, 10, FlaggedQuantity::InputTnv, flags);
        text.Value(input.tx, 3, 10, FlaggedQuantity::InputTx, flags);
        text.Value(input.Px, 5, 10, FlaggedQuantity::Unflagged, flags);
        text.Value(input.dt, 3, 10, FlaggedQuantity::InputDt, flags);
        text.Value(input.dM, 5, 10, FlaggedQuantity::InputDm, flags);
        text.Value(input.Qtv, 5, 10, FlaggedQuantity::InputQtv, flags);
        text.Value(input.Q12, 5, 10, FlaggedQuantity::InputQ12, flags);
        text.Value(input.Qg, 5, 10, FlaggedQuantity::InputQg, flags);
        text.Integer(input.VNR);
        text.Add("     ");
        text.Integer(input.VOS);
        text.EndLine();
    }

    text.DpSection(record.dp, 10, Markers(FlaggedQuantity::Dp, record.dpFlags, 2));
    text.Counters(record.networkMinutesWithoutPower, record.displayMinutesWithoutPower, record.minutesPowerOff);
    text.ActiveSet(record.activeSet + 1);
    text.EventsAndControls(record.events, record.abstractControls);
    return text.Take();
}
