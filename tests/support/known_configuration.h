#pragma once
// A configuration with something to show for every rule of the settings report: model "04" at firmware
// level 600, both parameter sets in use (the report of it is tests/config/data/settings_report_expected.xls).

#include "config/device_blocks.h"

ConfigurationBlocks KnownConfiguration();
