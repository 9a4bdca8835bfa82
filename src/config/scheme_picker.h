#pragma once
// The rules of choosing a scheme and a (КТ3, ФРТ) combination for a thermal input: what is refused,
// what is asked first, and what the input becomes.

#include "config/config_messages.h"
#include "config/device_blocks.h"

// The user confirmed scheme `scheme` (0..14) with the combination at position `row` of that scheme's
// rows (-1 when none is selected). Refusals and questions go to `host`. Returns true when the input was
// changed: then it holds the defaults for the new scheme with the chosen КТ3 and ФРТ.
bool ApplySchemeChoice(DbSettings& db, int input, const DeviceIdentity& identity, int scheme, int row,
                       ConfigMessageHost& host);

// Before an input's page is shown: a stored scheme the model does not offer there is removed with a
// message (scheme 0, КТ3 4, ФРТ 11). Returns true when it was removed.
bool RemoveSchemeNotOffered(DbSettings& db, int input, const DeviceIdentity& identity, ConfigMessageHost& host);
