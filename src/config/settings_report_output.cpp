#include "config/settings_report_output.h"

#include "config/settings_report.h"
#include "config/tunes_validation.h"
#include "reports/report_save.h"
#include "reports/report_writer.h"

bool ShowSettingsReport(ConfigurationBlocks& blocks, ConfigMessageHost& checks, ReportViewer& viewer,
                        const SettingsReportPlace& place, const QDateTime& formed)
{
    if (!ValidateTunes(blocks, checks))
        return false;
    return WriteReport(MakeSettingsReport(blocks, formed), place.folder, place.windowNumber, place.log, viewer);
}

QString SettingsReportFileName(const ConfigurationBlocks& blocks, const QDate& made)
{
    return QStringLiteral("Настройки, зав.N %1, %2.%3")
        .arg(blocks.identity.serialNumber)
        .arg(made.toString(QStringLiteral("dd.MM.yyyy")), QLatin1String(kReportExtension));
}
