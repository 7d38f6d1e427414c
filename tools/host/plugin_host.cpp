// The host callback and the host-side calls into one plug-in instance.
#include "plugin_host.h"

#include <cstddef>
#include <map>
#include <mutex>
#include <new>

namespace quenvale::host {

namespace {

// Which host a callback belongs to. While an entry runs the plug-in has no record to name yet.
thread_local PluginHost* tInstantiating = nullptr;
std::mutex gHostsMutex;
std::map<const AEffect*, PluginHost*> gHosts;

PluginHost* hostOf(const AEffect* effect) {
    if (effect != nullptr) {
        std::lock_guard<std::mutex> lock(gHostsMutex);
        const auto found = gHosts.find(effect);
        if (found != gHosts.end()) return found->second;
    }
    return tInstantiating;
}

}  // namespace

PluginHost::~PluginHost() {
    close();
}

bool PluginHost::instantiate(EntryFunction entry) {
    close();
    error_.clear();
    if (entry == nullptr) {
        error_ = "no entry point";
        return false;
    }
    tInstantiating = this;
    AEffect* effect = entry(&PluginHost::callback);
    tInstantiating = nullptr;
    if (effect == nullptr) {
        error_ = "the plug-in refused to start (VSTPluginMain returned null)";
        return false;
    }
    if (effect->magic != kEffectMagic || effect->dispatcher == nullptr) {
        error_ = "VSTPluginMain returned something that is not a VST 2 plug-in record";
        return false;
    }
    effect_ = effect;
    std::lock_guard<std::mutex> lock(gHostsMutex);
    gHosts[effect_] = this;
    return true;
}

VstIntPtr PluginHost::close() {
    if (effect_ == nullptr) return 0;
    AEffect* effect = effect_;
    const VstIntPtr result = effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    effect_ = nullptr;
    std::lock_guard<std::mutex> lock(gHostsMutex);
    gHosts.erase(effect);
    return result;
}

VstIntPtr PluginHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (opcode == effClose) return close();
    return effect_ != nullptr ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

void PluginHost::setParameter(VstInt32 index, float value) {
    if (effect_ != nullptr) effect_->setParameter(effect_, index, value);
}

float PluginHost::getParameter(VstInt32 index) {
    return effect_ != nullptr ? effect_->getParameter(effect_, index) : 0.0f;
}

void PluginHost::processReplacing(float* left, float* right, VstInt32 frames) {
    if (effect_ == nullptr || effect_->processReplacing == nullptr) return;
    const VstInt32 inputCount = effect_->numInputs > 0 ? effect_->numInputs : 0;
    silence_.assign(static_cast<size_t>(frames > 0 ? frames : 1), 0.0f);
    inputs_.assign(static_cast<size_t>(inputCount) + 1, silence_.data());
    // Outputs beyond the first two go to a scratch buffer.
    const size_t outputCount = effect_->numOutputs > 2 ? static_cast<size_t>(effect_->numOutputs) : 2;
    scratch_.assign(silence_.size(), 0.0f);
    outputs_.assign(outputCount, scratch_.data());
    outputs_[0] = left;
    outputs_[1] = right;
    effect_->processReplacing(effect_, inputs_.data(), outputs_.data(), frames);
    timeInfo_.samplePos += frames;
}

VstIntPtr PluginHost::sendMidi(const std::vector<VstMidiEvent>& events) {
    std::vector<VstMidiEvent> copies(events);
    std::vector<VstEvent*> pointers;
    pointers.reserve(copies.size());
    for (VstMidiEvent& event : copies) pointers.push_back(reinterpret_cast<VstEvent*>(&event));
    return sendEvents(pointers);
}

VstIntPtr PluginHost::sendEvents(const std::vector<VstEvent*>& events) {
    // VstEvents ends in a pointer array that the host sizes for its event count.
    const size_t slots = events.size() > 2 ? events.size() : 2;
    std::vector<std::byte> storage(offsetof(VstEvents, events) + slots * sizeof(VstEvent*));
    auto* list = new (storage.data()) VstEvents{};
    list->numEvents = static_cast<VstInt32>(events.size());
    VstEvent** slot = list->events;
    for (size_t i = 0; i < events.size(); ++i) slot[i] = events[i];
    return dispatch(effProcessEvents, 0, 0, list, 0.0f);
}

VstMidiEvent PluginHost::midiEvent(uint8_t status, uint8_t data1, uint8_t data2, VstInt32 deltaFrames) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = static_cast<VstInt32>(sizeof(VstMidiEvent));
    event.deltaFrames = deltaFrames;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    return event;
}

VstIntPtr VSTCALLBACK PluginHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                           void* ptr, float opt) {
    PluginHost* host = hostOf(effect);
    return host != nullptr ? host->answer(opcode, index, value, ptr, opt) : 0;
}

VstIntPtr PluginHost::answer(VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    switch (opcode) {
        case audioMasterVersion:
            return hostVersion_;
        case audioMasterAutomate:
            automateCalls_.push_back({index, opt});
            if (onAutomate_) onAutomate_(index, opt);
            return 0;
        case audioMasterGetTime:
            ++timeInfoRequests_;
            if (!timeInfoAvailable_) return 0;
            timeInfo_.flags = timeInfoFlags_;
            return reinterpret_cast<VstIntPtr>(&timeInfo_);
        default:
            return 0;
    }
}

}  // namespace quenvale::host
