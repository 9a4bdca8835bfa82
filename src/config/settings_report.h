#pragma once
// The settings report ("Отчет о настройках"): the configuration as a printable HTML body, a fixed-width
// header with the meter's identity and the settings checksum, then tables of every setting in the
// words of the pages. The body goes to the report writer (reports/report_writer.h), which adds the
// page frame and the style sheet. Run the checks first: a configuration that fails them is not
// reported.

#include <QDateTime>
#include <QString>
#include <cstdint>

#include "config/device_blocks.h"

// The settings checksum КСН: CRC-16/MODBUS over the 510 bytes of the record. The open settings and the
// controls do not enter it.
std::uint16_t SettingsChecksum(const TunesRecord& tunes);

// The whole body, lines ending in CR LF. `formed` is printed as "Дата формирования".
QString MakeSettingsReport(const ConfigurationBlocks& blocks, const QDateTime& formed);

// One section per parameter set in use, each opening its own table (settings_report_sets.cpp).
QString SettingsReportSection(const ConfigurationBlocks& blocks, int db);
