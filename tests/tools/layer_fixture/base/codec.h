#pragma once
// A base header that wrongly reaches up into the channel.
#include "channel/port.h"
#include <QString>
