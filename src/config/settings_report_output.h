#pragma once
// "Отчет о настройках" as one operation for the report window and for the command line: check the
// configuration, make the report and hand it to the report writer.

#include <QDateTime>
#include <QIODevice>
#include <QString>

#include "config/config_messages.h"
#include "config/device_blocks.h"
#include "reports/report_host.h"

struct SettingsReportPlace {
    QString folder;        // for the temporary files, offered first for saving; see DefaultReportFolder()
    quint32 windowNumber;  // tells reports open at the same time apart; see NewReportWindowNumber()
    QIODevice* log = nullptr;
};

// Runs the checks (their messages and repairs go to `checks`, as for writing to a meter); only when they
// pass is the report written and shown through `viewer`. Returns whether it was shown.
bool ShowSettingsReport(ConfigurationBlocks& blocks, ConfigMessageHost& checks, ReportViewer& viewer,
                        const SettingsReportPlace& place, const QDateTime& formed = QDateTime::currentDateTime());

// The name the report is offered to be saved under: "Настройки, зав.N 170001, 10.12.2026.xls".
QString SettingsReportFileName(const ConfigurationBlocks& blocks, const QDate& made);
