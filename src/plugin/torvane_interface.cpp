// Construction, teardown, parameters, audio and the host tempo of the plug-in object.
#include "plugin/torvane_interface.h"

#include <cmath>

namespace quenvale {

std::atomic<int> TorvaneInterface::liveInstances_{0};

TorvaneInterface::TorvaneInterface(audioMasterCallback host)
    : AudioEffectX(host, kProgramCount, kParameterCount), hostCallback_(host), editor_(engine_, *this) {
    setUniqueID(vstFourCC('Q', 'n', 'v', 'l'));
    setNumInputs(0);
    setNumOutputs(2);
    setFlag(effFlagsHasVu, true);
    setFlag(effFlagsHasClip, false);
    setFlag(effFlagsCanMono, false);
    setFlag(effFlagsCanReplacing, true);
    setFlag(effFlagsProgramChunks, true);
    setFlag(effFlagsHasEditor, true);
    setFlag(effFlagsIsSynth, true);
    engine_.setTempoReader(&TorvaneInterface::readHostTempo, this);
    editor_.windowRect(editorRect_);
    liveInstances_.fetch_add(1);
}

TorvaneInterface::~TorvaneInterface() {
    engine_.setTempoReader(nullptr, nullptr);
    liveInstances_.fetch_sub(1);
}

void TorvaneInterface::setParameter(VstInt32 index, float value) {
    if (index < 0 || index >= kParameterCount) return;
    if (suppressSetParameter_[index].load(std::memory_order_acquire) != 0) return;
    engine_.setParameterNormalized(0, index, value);
}

float TorvaneInterface::getParameter(VstInt32 index) {
    if (index < 0 || index >= kParameterCount) return 0.0f;
    return engine_.getParameterNormalized(0, index);
}

void TorvaneInterface::process(float**, float** outputs, VstInt32 sampleFrames) {
    renderBlock(outputs, sampleFrames);
}

void TorvaneInterface::processReplacing(float**, float** outputs, VstInt32 sampleFrames) {
    renderBlock(outputs, sampleFrames);
}

void TorvaneInterface::renderBlock(float** outputs, VstInt32 sampleFrames) noexcept {
    if (outputs == nullptr || outputs[0] == nullptr || outputs[1] == nullptr || sampleFrames <= 0) return;
    engine_.render(outputs[0], outputs[1], sampleFrames);
}

void TorvaneInterface::reportEditorChange(VstInt32 index) {
    if (index < 0 || index >= kParameterCount) return;
    suppressSetParameter_[index].fetch_add(1, std::memory_order_acq_rel);
    const float value = getParameter(index);
    setParameterAutomated(index, value);
    suppressSetParameter_[index].fetch_sub(1, std::memory_order_acq_rel);
}

float TorvaneInterface::readHostTempo(void* context) {
    return static_cast<TorvaneInterface*>(context)->currentHostTempo();
}

float TorvaneInterface::currentHostTempo() {
    // A missing record, or one whose tempo the host does not vouch for, keeps the tempo known before.
    const VstTimeInfo* time = getTimeInfo(kVstTempoValid);
    if (time != nullptr && (time->flags & kVstTempoValid) != 0 && std::isfinite(time->tempo) &&
        time->tempo > 0.0) {
        lastHostTempo_ = static_cast<float>(time->tempo);
    }
    return lastHostTempo_;
}

}  // namespace quenvale
