#pragma once
// What the archive commands print of the bytes the meter sent: the text reports, or value-archive
// records as data: the columns of the archive database (the meter's factory number, the record's
// date, then every value), one record per CSV line or per JSON object on its own line.
//
// Only spans of bytes come in: the record layouts stay out of files that see the driver, whose
// configuration record names its pipe counts alike.

#include "meter/archive_descriptors.h"

#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <span>

enum class RecordFormat { kText, kCsv, kJson };

// "text", "csv", "json".
RecordFormat RecordFormatOf(const QString& name);

// The CSV header line: the column names.
QString CsvHeader(ArchiveKind kind);
// One record (the bytes the meter sent, archive form) as a CSV line or a JSON object line. Singles are
// written with nine significant digits and doubles with seventeen, so that they read back as the same
// value; a value that is not a number is "nan" / null.
QString CsvRecord(ArchiveKind kind, std::uint32_t serial, std::span<const std::uint8_t> record);
QString JsonRecord(ArchiveKind kind, std::uint32_t serial, std::span<const std::uint8_t> record);

// The current values or, with `totals`, the current totals (the meter's current area) as one object: the
// columns of the same names as the archive tables', "Date" the meter's time of the reading.
QJsonObject CurrentJson(bool totals, std::uint32_t serial, std::span<const std::uint8_t> area);

// The record in the chosen form: the text report, a CSV line or a JSON line.
QString ArchiveRecordOutput(ArchiveKind kind, RecordFormat format, std::uint32_t serial,
                            std::span<const std::uint8_t> record);

// "2024-03-10 12:00" of a record date.
QString RecordDateText(const TChronoArch& date);
