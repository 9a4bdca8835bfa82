#pragma once
// A channel header built on base, as it should be.
#include "base/codec.h"
