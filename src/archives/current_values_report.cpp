#include "archives/archive_reports.h"

#include "archives/report_text.h"

QString RenderCurrentValues(const CurrentValues& values)
{
    ReportText text;
    text.Add("ТЕКУЩИЕ ЗНАЧЕНИЯ ");
    text.Add(StampText(values.time));
    text.EndLine();
    text.TableHead("           t            P            Gо           Gм           Ф            h");
    for (int k = 0; k < kArchivePipeCount; ++k) {
        const std::uint8_t flags = values.pipeFlags[k];
        text.PipeHead(k + 1);
        text.Value(values.t[k], 3, 10, FlaggedQuantity::PipeT, flags);
        text.Value(values.P[k], 5, 10, FlaggedQuantity::PipeP, flags);
        text.Value(values.Go[k], 5, 10, FlaggedQuantity::PipeV, flags);
        text.Value(values.Gm[k], 5, 10, FlaggedQuantity::Unflagged, flags);
        text.Value(values.pipePhi[k], 5, 10, FlaggedQuantity::Unflagged, flags);
        text.Value(values.h[k], 5, 10, FlaggedQuantity::Unflagged, flags);
        text.EndLine();
    }

    text.EndLine();
    text.TableHead("        tнв          tx           Px           dt           Ф            hх");
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const std::uint16_t flags = values.inputFlags[n];
        text.InputHead(n + 1);
        text.Value(values.tnv[n], 3, 10, FlaggedQuantity::InputTnv, flags);
        text.Value(values.tx[n], 3, 10, FlaggedQuantity::InputTx, flags);
        text.Value(values.Px[n], 5, 10, FlaggedQuantity::Unflagged, flags);
        text.Value(values.dt[n], 3, 10, FlaggedQuantity::InputDt, flags);
        text.Value(values.inputPhi[n], 5, 10, FlaggedQuantity::Unflagged, flags);
        text.Value(values.hx[n], 5, 10, FlaggedQuantity::Unflagged, flags);
        text.EndLine();
    }

    text.DpSection(values.dp, 10, Markers(FlaggedQuantity::Dp, values.dpFlags, 2));
    text.ActiveSet(values.ActiveSetIndex() + 1);
    text.EventsAndControls(values.events, values.abstractControls);
    return text.Take();
}
