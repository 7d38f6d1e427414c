// The AEffect record's defaults and the trampolines that turn host calls into virtual calls.
#include "plugin/audio_effect.h"

#include <cstring>

#include "common/debug_output.h"

namespace quenvale {

namespace {

AudioEffect* objectOf(AEffect* effect) noexcept {
    return effect != nullptr ? static_cast<AudioEffect*>(effect->object) : nullptr;
}

VstIntPtr VSTCALLBACK dispatchTrampoline(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                         void* ptr, float opt) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return 0;
    // Lines and beeps queued on the audio thread are written here, off that thread.
    flushDebugOutput();
    const VstIntPtr result = object->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        // Whatever is still queued, also from a host that renders and closes on one thread.
        flushDebugOutputHere();
        // The record lives inside the object: the host must not touch it after this call.
        delete object;
        return 1;
    }
    return result;
}

void VSTCALLBACK processTrampoline(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (AudioEffect* object = objectOf(effect)) object->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK processReplacingTrampoline(AEffect* effect, float** inputs, float** outputs,
                                            VstInt32 sampleFrames) {
    if (AudioEffect* object = objectOf(effect)) object->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK setParameterTrampoline(AEffect* effect, VstInt32 index, float value) {
    if (AudioEffect* object = objectOf(effect)) object->setParameter(index, value);
}

float VSTCALLBACK getParameterTrampoline(AEffect* effect, VstInt32 index) {
    AudioEffect* object = objectOf(effect);
    return object != nullptr ? object->getParameter(index) : 0.0f;
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback host, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster_(host) {
    std::memset(&cEffect_, 0, sizeof cEffect_);
    cEffect_.magic = kEffectMagic;
    cEffect_.dispatcher = dispatchTrampoline;
    cEffect_.process = processTrampoline;
    cEffect_.setParameter = setParameterTrampoline;
    cEffect_.getParameter = getParameterTrampoline;
    cEffect_.numPrograms = numPrograms;
    cEffect_.numParams = numParams;
    cEffect_.numInputs = 1;
    cEffect_.numOutputs = 2;
    cEffect_.flags = effFlagsCanReplacing;
    cEffect_.ioRatio = 1.0f;
    cEffect_.object = this;
    cEffect_.uniqueID = vstFourCC('N', 'o', 'E', 'f');
    cEffect_.version = 1;
    cEffect_.processReplacing = processReplacingTrampoline;
}

AudioEffect::~AudioEffect() = default;

void AudioEffect::setParameter(VstInt32, float) {}

float AudioEffect::getParameter(VstInt32) {
    return 0.0f;
}

void AudioEffect::process(float**, float**, VstInt32) {}

void AudioEffect::processReplacing(float**, float**, VstInt32) {}

VstIntPtr AudioEffect::dispatcher(VstInt32, VstInt32, VstIntPtr, void*, float) {
    return 0;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return audioMaster_ != nullptr ? audioMaster_(&cEffect_, opcode, index, value, ptr, opt) : 0;
}

}  // namespace quenvale
