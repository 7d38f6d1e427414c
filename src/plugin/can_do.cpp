// Capability answers: the synthesizer receives MIDI events and claims nothing else.
#include "plugin/can_do.h"

#include <cstring>

namespace quenvale {

VstIntPtr canDo(const char* capability) noexcept {
    if (capability == nullptr) return 0;
    if (std::strcmp(capability, "receiveVstEvents") == 0) return 1;
    if (std::strcmp(capability, "receiveVstMidiEvent") == 0) return 1;
    return 0;
}

}  // namespace quenvale
