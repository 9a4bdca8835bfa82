#pragma once
// The identity block at register 0: who the simulated meter says it is.

#include "sim_options.h"

class MeterImage;

void WriteIdentity(MeterImage& image, const SimIdentity& identity);
