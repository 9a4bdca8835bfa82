#pragma once
// Code-to-text tables of the configuration fields: one table per enumeration, each entry with the text
// of the pages' lists and the short text of the settings report (the same where there is no short one).

#include <QString>
#include <span>

struct ValueText {
    unsigned value;
    const char* text;       // as the pages list it
    const char* shortText;  // as the report prints it
};

using ValueTexts = std::span<const ValueText>;

// The entry for `value`, or null when the table has none (an invalid stored value).
const ValueText* FindValueText(ValueTexts table, unsigned value);
// Its text (or short text); `fallback` for a value the table lacks.
QString TextOf(ValueTexts table, unsigned value, const char* fallback = "");
QString ShortTextOf(ValueTexts table, unsigned value, const char* fallback = "");

// Model index of DeviceIdentity.
extern const ValueTexts kModelNames;
// TunesRecord: DB control word and system word.
extern const ValueTexts kDb2UseTexts;
extern const ValueTexts kDbChangeMethodTexts;
extern const ValueTexts kDbAccessTexts;  // keyboard and PC alike
extern const ValueTexts kUnitSystemTexts;
extern const ValueTexts kSensorTypeTexts;
// InputSettings word.
extern const ValueTexts kTemperatureControlTexts;
extern const ValueTexts kImbalanceControlTexts;
extern const ValueTexts kHeatControlTexts;
extern const ValueTexts kDeltaTControlTexts;
extern const ValueTexts kDeltaTMinTexts;
extern const ValueTexts kColdWaterUseTexts[2];  // per input: the spare channels swap places
extern const ValueTexts kOutdoorAirTexts;
// PipeSettings flags.
extern const ValueTexts kVolumeControlTexts;
extern const ValueTexts kPowerControlTexts;
extern const ValueTexts kPressureSensorTexts;
extern const ValueTexts kFlowMeterTypeTexts;
// ExtraInputSettings word.
extern const ValueTexts kExtraUseTexts;
extern const ValueTexts kAlarmLevelTexts;
extern const ValueTexts kExtraUnitsTexts;
// ControlsBlock entries: element kinds and the parameters of each kind.
extern const ValueTexts kControlKindTexts;
extern const ValueTexts kControlParameterTexts[4];  // indexed by kind; kind 0 has none
