// Base of a VST 2 plug-in object: owns the AEffect record, the host callback and the trampolines behind it.
#pragma once

#include "plugin/vst2_abi.h"

namespace quenvale {

class AudioEffect {
public:
    AudioEffect(audioMasterCallback host, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    // The record handed to the host; lives exactly as long as this object.
    AEffect* getAeffect() noexcept { return &cEffect_; }

    // Operations behind the record's function pointers. The defaults do nothing.
    virtual void setParameter(VstInt32 index, float value);
    virtual float getParameter(VstInt32 index);
    virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames);
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames);
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    // Calls this object's setParameter, then tells the host (audioMasterAutomate) if there is one.
    virtual void setParameterAutomated(VstInt32 index, float value);

protected:
    // The host callback, or 0 when there is none.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    void setUniqueID(VstInt32 id) noexcept { cEffect_.uniqueID = id; }
    void setNumInputs(VstInt32 count) noexcept { cEffect_.numInputs = count; }
    void setNumOutputs(VstInt32 count) noexcept { cEffect_.numOutputs = count; }
    void setFlag(VstInt32 flag, bool on) noexcept {
        cEffect_.flags = on ? (cEffect_.flags | flag) : (cEffect_.flags & ~flag);
    }

    AEffect cEffect_;
    audioMasterCallback audioMaster_;
    // Kept as the interface's defaults; the synthesizer's engine has its own rate and program number.
    float sampleRate_ = 44100.0f;
    VstInt32 blockSize_ = 1024;
    VstInt32 curProgram_ = 0;
};

}  // namespace quenvale
