#pragma once
// `calibrate t|p --stand PATH`: automatic calibration of the meter's temperature or current inputs
// against the reference stand on PATH, printing the stand's progress as it goes.

class CliContext;

int RunCalibrate(CliContext& context);
