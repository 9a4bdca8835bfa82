#pragma once
// A base header that wrongly reaches up into the channel.
#include <QString>
#include "channel/port.h"
