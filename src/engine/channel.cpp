// Construction of the live channel state.
#include "engine/channel.h"

#include "engine/spectrum/generator.h"

namespace quenvale {

Channel::Channel() : generator(std::make_unique<Generator>()) {}

Channel::~Channel() = default;

}  // namespace quenvale
