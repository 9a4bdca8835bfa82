#pragma once
// Shared by the parts of ValidateTunes: the configuration under check and how a violation is reported.

#include <QString>

#include "config/config_messages.h"
#include "config/device_blocks.h"

struct TunesCheck {
    ConfigurationBlocks& blocks;
    ConfigMessageHost& host;
    int model;
    bool mks;  // pressures in the messages are in kgf/cm²

    // Shows the violation (warning icon) and returns false, so a check reads `return check.Fail(...)`.
    bool Fail(const QString& text) const;
    // The same with the information icon.
    bool FailInformation(const QString& text) const;
    // A pressure limit as the messages print it: in the unit system of the record.
    double ShownPressure(float mpa) const;
};

// True when `value` lies outside [low, high]; a value that is not a number is outside every range.
inline bool OutsideRange(float value, float low, float high)
{
    return !(value >= low && value <= high);
}

// Inputs of both parameter sets with their pipes; then the extra pulse input and the controls.
bool CheckInputs(TunesCheck& check);
bool CheckPipes(TunesCheck& check, int db, int input);
bool CheckExtraInput(TunesCheck& check);
bool CheckControls(TunesCheck& check);
