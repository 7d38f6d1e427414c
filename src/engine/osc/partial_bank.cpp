// Construction of a voice's partial bank.
#include "engine/osc/partial_bank.h"

#include <cstring>

namespace quenvale {

PartialBank::PartialBank() noexcept {
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    fillSineTable(sineTable);
    for (float& s : tableScale) s = 128.0f;
}

}  // namespace quenvale
