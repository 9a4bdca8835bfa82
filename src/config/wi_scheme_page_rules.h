#pragma once
// What the input page "Общие" lets the user touch for one input of one parameter set, and the fields it
// brings into line before showing them: tнв only where its channel is free, no heat control for a scheme
// that computes no heat.

#include "config/device_blocks.h"

struct WiSchemeControlStates {
    bool page = false;                  // the parameter set is in use: anything on the page may change
    bool inputSettings = false;         // the input has a scheme: its controls apply
    bool outdoorAirMeasurable = false;  // "Измеряется" is offered for tнв
    bool imbalanceControl = false;      // "Контроль dM", "dMmax (0-4%):"
    bool deltaTControl = false;         // "Контроль dt", "dt min (гр.С):"
    bool heatControl = false;           // "Контроль Q"
};

// Whether the input's spare channel can take the outdoor-air temperature: the model has it, pipe 3 does
// not measure t3 there (КТ3 2 or 3) and the input's own tx is not measured there.
bool OutdoorAirMeasurable(const InputSettings& in, int input, int model);

// The states for `input` of `set`; before that, a stored tнв that cannot be measured is cleared and
// "Контр.Q" of a scheme without heat becomes 0, in the record.
WiSchemeControlStates BringInputIntoLine(ConfigurationBlocks& blocks, int set, int input);
