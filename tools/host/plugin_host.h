// A minimal VST 2 host for one plug-in instance: the host callback, and the calls a real host makes.
//
// Answers audioMasterVersion (2400 unless told otherwise), records audioMasterAutomate calls, and answers
// audioMasterGetTime with a time record whose tempo it controls, or with nothing when told to.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "plugin/vst2_abi.h"
#include "plugin_library.h"

namespace quenvale::host {

class PluginHost {
public:
    struct AutomateCall {
        VstInt32 index;
        float value;
    };

    PluginHost() = default;
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Calls entry with this host's callback. False, with error() set, when the entry returns null or
    // something that is not a plug-in record.
    bool instantiate(EntryFunction entry);
    // effClose, answering what the plug-in answered; the record is gone afterwards.
    VstIntPtr close();

    AEffect* effect() const noexcept { return effect_; }
    const std::string& error() const noexcept { return error_; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    // Renders frames into left and right with processReplacing (silent inputs if the plug-in has any).
    // Advances the sample position of the time record.
    void processReplacing(float* left, float* right, VstInt32 frames);
    // Sends MIDI events with effProcessEvents, in the given order.
    VstIntPtr sendMidi(const std::vector<VstMidiEvent>& events);
    // Sends any events with effProcessEvents.
    VstIntPtr sendEvents(const std::vector<VstEvent*>& events);

    // Host behaviour.
    void setHostVersion(VstIntPtr version) noexcept { hostVersion_ = version; }
    void setTempo(double bpm) noexcept { timeInfo_.tempo = bpm; }
    void setTimeInfoAvailable(bool available) noexcept { timeInfoAvailable_ = available; }
    void setSampleRate(double rate) noexcept { timeInfo_.sampleRate = rate; }
    // Validity flags of the time record (tempo valid and transport playing unless told otherwise).
    void setTimeInfoFlags(VstInt32 flags) noexcept { timeInfoFlags_ = flags; }
    void setSamplePosition(double position) noexcept { timeInfo_.samplePos = position; }
    // Called for each audioMasterAutomate, after it is recorded.
    void onAutomate(std::function<void(VstInt32 index, float value)> callback) {
        onAutomate_ = std::move(callback);
    }

    const std::vector<AutomateCall>& automateCalls() const noexcept { return automateCalls_; }
    int timeInfoRequests() const noexcept { return timeInfoRequests_; }

    // A MIDI event of up to three bytes at deltaFrames.
    static VstMidiEvent midiEvent(uint8_t status, uint8_t data1, uint8_t data2, VstInt32 deltaFrames = 0);

private:
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt);
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    AEffect* effect_ = nullptr;
    std::string error_;
    VstIntPtr hostVersion_ = 2400;
    bool timeInfoAvailable_ = true;
    VstInt32 timeInfoFlags_ = kVstTempoValid | kVstTransportPlaying;
    VstTimeInfo timeInfo_{0.0, 44100.0, 0.0, 0.0, 120.0, 0.0, 0.0, 0.0, 4, 4, 0, 0, 0, 0};
    std::function<void(VstInt32, float)> onAutomate_;
    std::vector<AutomateCall> automateCalls_;
    int timeInfoRequests_ = 0;
    std::vector<float> silence_;
    std::vector<float> scratch_;
    std::vector<float*> inputs_;
    std::vector<float*> outputs_;
};

}  // namespace quenvale::host
