// Placeholder until the spectrum modulators land: the generator's partial count.
#pragma once

#include <cstdint>

namespace quenvale {

struct Generator {
    int32_t partialCount = 512;
};

}  // namespace quenvale
