#include "config/model_capabilities.h"

#include "config/config_texts.h"

namespace {

//                                    t     P     V     extra
constexpr ModelCapabilities kRows[kModelCount] = {
    /* 0 "01"   */ {0x03, 0x00, 0x4F, 0x01},
    /* 1 "02"   */ {0x1B, 0x00, 0x7F, 0x01},
    /* 2 "03"   */ {0x3F, 0x00, 0x7F, 0x01},
    /* 3 "04"   */ {0x3F, 0x1F, 0x7F, 0x01},
    /* 4 "04.1" */ {0x03, 0x07, 0x4F, 0x01},
};

bool HasChannel(std::uint8_t ModelCapabilities::*channels, int model, int input, int pipe)
{
    const ModelCapabilities* row = CapabilitiesOf(model);
    const int bit = 3 * input + pipe;
    return row && bit >= 0 && bit < 8 && ((row->*channels >> bit) & 1) != 0;
}

}  // namespace

const ModelCapabilities* CapabilitiesOf(int model)
{
    return model >= 0 && model < kModelCount ? &kRows[model] : nullptr;
}

QString ModelName(int model)
{
    return model >= 0 ? TextOf(kModelNames, unsigned(model), "error") : QStringLiteral("error");
}

unsigned ModelPermissionBit(int model)
{
    if (model < 0 || model >= kModelCount)
        return 0;
    return 1u << (model == 4 ? 0 : model);
}

bool HasTemperatureChannel(int model, int input, int pipe)
{
    return HasChannel(&ModelCapabilities::temperatureChannels, model, input, pipe);
}

bool HasPressureChannel(int model, int input, int pipe)
{
    return HasChannel(&ModelCapabilities::pressureChannels, model, input, pipe);
}

bool HasVolumeChannel(int model, int input, int pipe)
{
    return HasChannel(&ModelCapabilities::volumeChannels, model, input, pipe);
}

bool HasSpareTemperatureChannel(int model, int input)
{
    return HasTemperatureChannel(model, input, 2);
}

bool HasExtraInput(int model)
{
    const ModelCapabilities* row = CapabilitiesOf(model);
    return row && (row->extraInput & 1) != 0;
}
