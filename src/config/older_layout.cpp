#include "config/older_layout.h"

#include <cstring>

void SplitOlderTunes(const OlderTunesImage& image, TunesRecord& tunes, ControlsBlock& controls)
{
    std::memcpy(&tunes, image.data(), sizeof tunes);
    std::memcpy(&controls, image.data() + sizeof tunes, sizeof controls);
}

OlderTunesImage JoinOlderTunes(const TunesRecord& tunes, const ControlsBlock& controls)
{
    OlderTunesImage image{};
    std::memcpy(image.data(), &tunes, sizeof tunes);
    std::memcpy(image.data() + sizeof tunes, &controls, sizeof controls);
    return image;
}
