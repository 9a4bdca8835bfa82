#pragma once
// What the reading commands print with --format json: one object per command, or one object a line
// for a run of entries. Keys are the record fields' names in snake case (the archive database's column
// names for archive records), numbers are numbers, what the meter did not give is null. The meter's
// own dates are as the meter keeps them, "YYYY-MM-DDTHH:MM:SS" without a zone.

#include "archives/export_counts.h"
#include "config/device_blocks.h"
#include "meter/archive_descriptors.h"
#include "meter/service_blocks.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <cstdint>
#include <span>

// The object as one indented document, ended by a line end.
QString JsonDocumentText(const QJsonObject& object);
// The object on one line (JSON Lines).
QString JsonLine(const QJsonObject& object);

// A meter date, null when empty (year byte 0xFF).
QJsonValue MeterDateJson(const DateTimeStamp& date);

QJsonObject IdentityJson(const DeviceIdentity& identity, const QString& versionText);
QJsonObject DescriptorsJson(const ArchiveDescriptors& descriptors);
QJsonObject MakerJson(const MakerData& data);
QJsonObject ServiceCentreJson(const ServiceCentreData& data);
// `count` entries laid back to back in `entries`, each one JSON line; `first` is the 0-based index
// of the first in its log.
QString EventEntriesJson(std::span<const std::uint8_t> entries, int count, int first);
// What an export stored, archive by archive.
QJsonObject ExportCountsJson(const ExportCounts& counts);
