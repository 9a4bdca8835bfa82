#pragma once
// The text reports of what the archive commands left in the driver's receive areas: a value-archive or
// totals-archive record (command 11), the current values or current totals (12), a run of event-log
// entries (13). The archives page and zt5ctl show the same texts.

#include "meter/archive_descriptors.h"
#include "meter/register_map.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

class DriverAccess;

// A record of the kind as the meter sent it; a totals-archive record is shown in the current-totals
// form, headed with its hour.
QString ValueArchiveText(ArchiveKind kind, std::span<const std::uint8_t> record);
// The current values or, with `totals`, the current totals.
QString CurrentAreaText(bool totals, std::span<const std::uint8_t> area);

// The report a finished command 11, 12 or 13 leaves to show, read from the driver's areas as its
// request block names them; nothing for any other command.
std::optional<QString> ArchiveCommandText(int code, const DriverAccess& driver);
