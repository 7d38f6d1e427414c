// The synthesizer as the host sees it: one object per plug-in instance, turning host calls into engine calls.
//
// Seams: the engine is engine_ (SynthEngine, channel 0 always); chunk bytes go through bank_chunk.h; the
// editor window and the host's parent window are behind editor_window.h.
//
// Threads (tags as in synth_engine.h): the host's audio thread renders, sets parameters (automation)
// and delivers events; the host's user-interface thread and the editor's own thread may both call
// the dispatcher's other requests and reportEditorChange at the same time.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
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

    // [any] Ignored for an index whose editor change is being reported (the host's echo of it);
    // every other index is stored as usual meanwhile.
    void setParameter(VstInt32 index, float value) override;
    // [any]
    float getParameter(VstInt32 index) override;
    // [audio] Both render the block over outputs[0] (left) and outputs[1] (right); inputs are not read.
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    // [ui], except effProcessEvents [audio]. Texts are formatted into the host's buffer (or a buffer of
    // the call's own) and never into storage shared between callers. effGetChunk's bytes stay
    // valid until the next chunk request of this instance.
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;
    // [audio] Hands MIDI events to the engine in batches of at most kMidiBatchSize. Returns 1.
    VstInt32 processEvents(VstEvents* events) override;

    // [ui] The user changed parameter index in the editor: tell the host without taking its echo back.
    // The echo suppression is per index and counted, so two threads reporting at once, and host
    // automation of other indices meanwhile, are unaffected.
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
    // [ui] One debug line when MIDI events were lost to a full queue since the last report.
    void reportDroppedMidi() noexcept;
    // The engine's tempo reader, with this object as context.
    static float readHostTempo(void* context);

    [[maybe_unused]] audioMasterCallback hostCallback_;  // a copy of the base's, kept by this class
    // Reports in progress per parameter index; setParameter ignores an index while its count is not 0.
    std::atomic<uint32_t> suppressSetParameter_[kParameterCount] = {};
    MidiEntry midiEntries_[kMidiBatchSize];
    SynthEngine engine_;
    EditorWindow editor_;
    // Filled once at construction and only read afterwards: the host reads it through the pointer
    // effEditGetRect hands out.
    ERect editorRect_{};
    std::atomic<bool> chunkJustLoaded_{false};
    std::atomic<uint32_t> reportedDroppedMidi_{0};
    // Guards chunkBuffer_ between user-interface threads.
    std::mutex chunkMutex_;
    std::vector<uint8_t> chunkBuffer_;

    float lastHostTempo_ = 120.0f;
    MidiBatchObserver midiObserver_ = nullptr;
    void* midiObserverContext_ = nullptr;
    static std::atomic<int> liveInstances_;
};

}  // namespace quenvale
