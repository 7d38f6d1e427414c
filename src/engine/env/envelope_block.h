// The channel's stored data of one envelope: its curve and its modulated "Out" level.
#pragma once

#include "engine/curve/breakpoint_curve.h"
#include "params/mod_param.h"

namespace quenvale {

struct EnvelopeBlock {
    BreakpointCurve curve;
    ModParam out;
};

}  // namespace quenvale
