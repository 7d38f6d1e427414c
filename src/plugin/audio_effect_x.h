// Extended plug-in base: MIDI event delivery and the host's time record.
#pragma once

#include "plugin/audio_effect.h"

namespace quenvale {

class AudioEffectX : public AudioEffect {
public:
    using AudioEffect::AudioEffect;

    // [audio] Receives the host's event list (effProcessEvents).
    virtual VstInt32 processEvents(VstEvents* events);

    // [ui] Bracket a drag of parameter index for the host's touch automation.
    void beginEdit(VstInt32 index) { callHost(audioMasterBeginEdit, index, 0, nullptr, 0.0f); }
    void endEdit(VstInt32 index) { callHost(audioMasterEndEdit, index, 0, nullptr, 0.0f); }

protected:
    // [audio] The host's time record for the fields in filter, or nullptr when the host gives none.
    VstTimeInfo* getTimeInfo(VstInt32 filter) {
        return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter, nullptr, 0.0f));
    }
};

}  // namespace quenvale
