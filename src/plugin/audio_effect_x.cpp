// Default event handling of the extended plug-in base: events are ignored.
#include "plugin/audio_effect_x.h"

namespace quenvale {

VstInt32 AudioEffectX::processEvents(VstEvents*) {
    return 0;
}

}  // namespace quenvale
