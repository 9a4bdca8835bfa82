#pragma once
// The checks a configuration passes before it is written to a meter, saved to a file or reported.

#include "config/config_messages.h"
#include "config/device_blocks.h"

// Walks the system settings, both parameter sets (БД2 too when it is not in use), the extra pulse
// input and the four controls in a fixed order, and stops at the first violation with one message
// naming the setting and its allowed range. Along the way it makes a few repairs that need no
// question (text terminators, start dates, control fields a combination does not offer, the "Датчик P"
// of pipes without pressure, unused inputs reset to their defaults); nothing else is changed.
// Returns true when everything passes; no message is shown then.
bool ValidateTunes(ConfigurationBlocks& blocks, ConfigMessageHost& host);
