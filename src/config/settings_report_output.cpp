#include "config/settings_report_output.h"

#include "config/settings_report.h"
#include "config/tunes_validation.h"
#include "reports/report_writer.h"

bool ShowSettingsReport(ConfigurationBlocks& blocks, ConfigMessageHost& checks, ReportViewer& viewer,
                        const SettingsReportPlace& place, const QDateTime& formed)
{
    if (!ValidateTunes(blocks, checks))
        return false;
    return WriteReport(MakeSettingsReport(blocks, formed), place.folder, place.windowNumber, place.log, viewer);
}
