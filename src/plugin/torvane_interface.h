// The synthesizer as the host sees it: one object per plug-in instance, turning host calls into engine calls.
//
// Seams: the engine is engine_ (SynthEngine, channel 0 always); chunk bytes go through persist/bank_chunk.h;
// the editor window and the host's parent window are behind editor_window.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "common/capacity.h"
#include "engine/midi_entry.h"
#include "engine/synth_engine.h"
#include "plugin/audio_effect_x.h"
#include "plugin/editor_window.h"

namespace quenvale {

class TorvaneInterface : public AudioEffectX {
public:
    // Sees every batch of MIDI entries just before the engine does (tests observe batching with it).
    using MidiBatchObserver = void (*)(const MidiEntry* entries, int32_t count, void* context);

    explicit TorvaneInterface(audioMasterCallback host);
    ~TorvaneInterface() override;

    // [any] Ignored while an editor change is being reported (the host's echo of it).
    void setParameter(VstInt32 index, float value) override;
    // [any]
    float getParameter(VstInt32 index) override;
    // [audio] Both render the block over outputs[0] (left) and outputs[1] (right); inputs are not read.
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    // [ui] mostly; effProcessEvents arrives on the audio thread.
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;
    // [audio] Hands MIDI events to the engine in batches of at most kMidiBatchSize. Returns 1.
    VstInt32 processEvents(VstEvents* events) override;

    // [ui] The user changed parameter index in the editor: tell the host without taking its echo back.
    void reportEditorChange(VstInt32 index);

    // [audio] The host's tempo (audioMasterGetTime), or the last one known when the host gives none.
    float currentHostTempo();

    // [ui] Test seam; nullptr removes the observer.
    void setMidiBatchObserver(MidiBatchObserver observer, void* context) noexcept {
        midiObserverContext_ = context;
        midiObserver_ = observer;
    }
    // [any] Plug-in objects alive in this module.
    static int liveInstanceCount() noexcept { return liveInstances_.load(); }

private:
    // Dispatcher cases with more than one line each.
    VstIntPtr getChunk(void* ptr);
    VstIntPtr setChunk(void* ptr, VstIntPtr byteCount);
    VstIntPtr editorOpcode(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    void renderBlock(float** outputs, VstInt32 sampleFrames) noexcept;
    void deliverMidi(int32_t count) noexcept;
    // The engine's tempo reader, with this object as context.
    static float readHostTempo(void* context);

    [[maybe_unused]] audioMasterCallback hostCallback_;  // a copy of the base's, kept by this class
    bool suppressSetParameter_ = false;
    MidiEntry midiEntries_[kMidiBatchSize];
    SynthEngine engine_;
    EditorWindow editor_;
    bool chunkJustLoaded_ = false;
    std::vector<uint8_t> chunkBuffer_;

    float lastHostTempo_ = 120.0f;
    MidiBatchObserver midiObserver_ = nullptr;
    void* midiObserverContext_ = nullptr;
    static std::atomic<int> liveInstances_;
};

}  // namespace quenvale
