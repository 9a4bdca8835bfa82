#pragma once
// Where a statement's records come from. The stretches to read are the period in the daily or hourly
// archive and, in the totals archive, the day before it to its end (the integrators at its start are
// the reading of the record before the first row). The database alone serves a meter chosen by its
// serial number; with a meter connected, the archive range read (command 20) fills in what the database
// lacks, and the records it read are stored there.

#include "archives/archive_range.h"
#include "archives/database_target.h"
#include "statement/statement_model.h"

#include <QString>

#include <cstdint>
#include <vector>

struct DriverData;
class NodeBase;

// The period's stretch of the daily or hourly archive, and the totals archive's stretch for it.
ArchiveRange StatementRange(const StatementSource& source);
ArchiveRange StatementTotalsRange(const StatementSource& source);

// Fills the records of `source` (its serial, kind and period set) from the database; false with the
// failure in words.
bool ReadStatementRecords(const DatabaseTarget& target, StatementSource* source, QString* error);
// The meters the database holds records of the kind's archive for in the period, by serial number.
bool StatementSerials(const DatabaseTarget& target, const StatementSource& period, std::vector<std::uint32_t>* serials,
                      QString* error);

// The meter's model, program version and unit system of pressures from what the driver read.
void DescribeMeter(const DriverData& data, StatementSource* source);
// The name, address and note of the first node of the base with this serial number.
void DescribeNode(const NodeBase& base, StatementSource* source);

// "ноябрь 2026" for a whole month, else "01.11.2026-15.11.2026"; what a file name says of the period.
QString StatementPeriodName(const StatementSource& source);
// "Ведомость ТВ1, зав.N 170001, ноябрь 2026.pdf" ("ТВ1" left out when the statement holds every input).
QString StatementFileName(const StatementSource& source, const QString& extension);
