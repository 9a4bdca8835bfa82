#pragma once
// Factory defaults of the configuration and the repair of the report time and the parameter-set start dates.

#include "config/device_blocks.h"

// The report hour runs 0..23, the report day 1..31; the factory closes the day at 23:00 and the month
// on the 25th.
constexpr unsigned kLastReportHour = 23;
constexpr unsigned kFirstReportDay = 1;
constexpr unsigned kLastReportDay = 31;
constexpr std::uint8_t kDefaultReportHour = 23;
constexpr std::uint8_t kDefaultReportDay = 25;

// Resets the record and the open settings to the factory state. The model is part of the identity and
// stays as it is: a configuration read from a meter keeps that meter's model.
void MakeDefaultTunes(TunesRecord& tunes, OpenSettings& open);

// A whole configuration made without a meter: an empty identity for the default model "04", the
// factory record and open settings, no controls.
void MakeDefaultConfiguration(ConfigurationBlocks& blocks);

// Resets one input of one parameter set (and its three pipes) to the defaults for its scheme: КТ3 and ФРТ
// of the scheme's first combination that `model` may use on this input (or simply the first), 4 and 11
// for an input without a scheme.
void MakeDefaultInput(DbSettings& db, int input, int model);

// A report hour past the last becomes the last (23); a report day past the last becomes the factory's 25th.
void RepairReportTime(TunesRecord& tunes);

// A start month outside 1..12 becomes October (БД1) or March (БД2); a day outside the month (of a
// non-leap year) becomes the 15th.
void RepairDbStartDates(TunesRecord& tunes);
