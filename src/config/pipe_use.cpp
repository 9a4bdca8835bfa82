#include "config/pipe_use.h"

PipeUse UseOfPipe(const SchemeEntry& scheme, unsigned kt3, bool pressureWithAnyKt3, int pipe)
{
    const bool t3 = kt3 == 2 || kt3 == 3;
    const bool v3 = kt3 == 1 || kt3 == 3;
    const bool p3 = pressureWithAnyKt3 ? kt3 != 0 : t3;
    const bool last = pipe == 2;
    return {scheme.Measures(scheme.temperatureMask, pipe) && (!last || t3),
            scheme.Measures(scheme.pressureMask, pipe) && (!last || p3),
            scheme.Measures(scheme.volumeMask, pipe) && (!last || v3)};
}
