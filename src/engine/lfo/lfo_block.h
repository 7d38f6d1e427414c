// The channel's parameter values of four voice LFOs or of the four channel LFOs, lane by lane.
#pragma once

#include <cstdint>

#include "params/mod_param.h"

namespace quenvale {

struct VoiceLfoBlock {
    int32_t type[4] = {};
    int32_t sync[4] = {};
    ModParam ratio[4];
    ModParam offset[4];
    ModParam phase[4];
    ModParam out[4];
};

struct ChannelLfoBlock {
    int32_t type[4] = {};
    int32_t sync[4] = {};
    ChModParam offset[4];
    ChModParam out[4];
};

}  // namespace quenvale
