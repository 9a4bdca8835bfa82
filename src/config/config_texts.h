#pragma once
// Code-to-text tables of the configuration fields: one table per enumeration, each entry with the text
// of the pages' lists and the short text of the settings report (the same where there is no short one).

#include "base/value_text.h"

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
