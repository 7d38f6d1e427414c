// The synthesizer behind the plug-in: the bank of programs, the live channel, the voice pool, MIDI
// handling and the render loop.
//
// Thread contract. [audio]: only the host's audio thread (the thread that renders and takes MIDI).
// [ui]: any non-audio thread; several may call at once (the host's user-interface thread and the
// editor's own thread). [any]: any thread, the audio thread included. The audio thread never waits
// and never allocates; user-interface threads exclude each other through the edit guard.
//
// Structural edits (program selection with loading, bank and chunk loads, generator replacement)
// hold an EditGuard::EditScope; a render block that meets one is rendered silent while the sample
// count and the tick grid move on, and MIDI arriving meanwhile is queued and applied at the next
// block. Readers of structure (bank and chunk writes, program stores) hold an EditGuard::ReadScope,
// which keeps other user-interface threads out but lets the audio sound on. Plain parameter stores
// never wait for anything. Callbacks are published as one immutable record behind an atomic
// pointer. The engine knows nothing of the plug-in ABI.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "common/capacity.h"
#include "engine/channel.h"
#include "engine/edit_guard.h"
#include "engine/midi_entry.h"
#include "engine/midi_queue.h"
#include "engine/pending_stores.h"
#include "engine/program.h"
#include "engine/voice/voice.h"
#include "params/parameter_conversion.h"
#include "params/parameter_value.h"

namespace quenvale {

class SynthEngine {
public:
    using ProgramChangedFn = void (*)(int32_t channel, int32_t program, void* context);
    using ParameterChangedFn = void (*)(int32_t channel, int32_t index, void* context);
    using TempoReaderFn = float (*)(void* context);

    // [ui] Builds the bank ("Program 001" … "Program 128", catalogue defaults), the channel and the
    // 32 voices, all allocated here once, and selects program 0 with loading on.
    SynthEngine();
    ~SynthEngine();
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    // ---- MIDI and audio -----------------------------------------------------------------------
    // [audio] Applies every entry at once, in order; MIDI channel and deltaFrames are not used.
    // Note off 0x80, note on 0x90 (velocity 0 is a note off), controller 0xB0; other statuses and
    // entries with a data byte above 127 are ignored.
    void processMidi(const MidiEntry* entries, int32_t count) noexcept;
    // [audio] Writes sampleFrames stereo samples over left and right, with control ticks on every
    // 64th sample of the engine's own count.
    void render(float* left, float* right, int32_t sampleFrames) noexcept;
    // [ui] Sets the process-wide rate values (for every engine of the process); call it while the
    // host does not render (VST 2 hosts set the rate while the plug-in is switched off).
    void setSampleRate(float sampleRate) noexcept;
    // [any] Returns the peaks since the last reading; the next block starts its peaks from 0.
    void readPeaks(float& left, float& right) noexcept;

    // ---- programs -------------------------------------------------------------------------------
    // [ui] Silences the channel's voices, clears the note table, makes program the current one and,
    // with load, applies its stored values (under the edit scope); then calls the program-changed
    // callback. False when a component record of the program was damaged and its defaults were
    // applied instead (see damagedRecordCount).
    bool selectProgram(int32_t channel, int32_t program, bool load);
    // [any]
    int32_t currentProgram(int32_t channel) const noexcept;
    // [ui] Copies the stored name of a program (at most 16 characters) into out and returns out;
    // "" outside 0 … 127.
    const char* programName(int32_t program, char (&out)[kNameFieldSize]) noexcept;
    // [ui] Copies at most 16 characters.
    void setProgramName(int32_t program, const char* name) noexcept;
    // [ui] Stores the live channel into program (the editor's store command). Reads structure under
    // the read scope: the audio keeps sounding.
    void storeProgram(int32_t program);
    // [ui] One stored value of a program; kind None outside the ranges.
    ParameterValue programParameterValue(int32_t program, int32_t index) noexcept;
    // [ui]
    void setProgramParameterValue(int32_t program, int32_t index, const ParameterValue& value) noexcept;

    // ---- parameters -----------------------------------------------------------------------------
    // [any] Host-level access (normalised 0..1 values); the store asks for a voice refresh and calls
    // the parameter-changed callback. Indices outside 0 … 382 store nothing and read 0.
    // Stores and reads never wait. Once the audio thread has rendered, it alone writes the live
    // values: a store from another thread is handed over (PendingStores) and reaches the sound at the
    // start of the next block, while reads on that thread already answer the value handed over.
    // A store on the audio thread during a structural edit is handed over the same way.
    void setParameterNormalized(int32_t channel, int32_t index, float value) noexcept;
    float getParameterNormalized(int32_t channel, int32_t index) noexcept;
    // [any] The display text, written into the caller's buffer; returns out.text.
    const char* parameterDisplayText(int32_t channel, int32_t index, DisplayTextBuffer& out) noexcept;
    // [any] Stores through the routing, asks for a voice refresh, calls the parameter-changed callback.
    void setParameterValue(int32_t channel, int32_t index, const ParameterValue& value) noexcept;
    // [any]
    ParameterValue getParameterValue(int32_t channel, int32_t index) const noexcept;
    // [ui] The editor's label of a control, copied into out: macro names (indices 2 … 7) from the
    // current program, the catalogue's label otherwise; "" outside 0 … 382. Returns out.text.
    const char* parameterLabel(int32_t index, DisplayTextBuffer& out) noexcept;
    // [ui] Sets a macro name (at most 16 characters) of the current program; other indices: nothing.
    void setParameterLabel(int32_t index, const char* text) noexcept;
    // [audio] controllerValue[cc] = value, as a MIDI controller message does (cc 0 … 127).
    void setControllerValue(int32_t channel, int32_t cc, float value) noexcept;
    // [any] Asks for the voice refresh of every voice assigned to the channel (the LFO free-running
    // increments, the generator refresh, the channel effects' update), with ramp fraction 1/64, or 0
    // when index 383 ("all parameters") was asked for since the last block. Requests are coalesced:
    // the refresh runs once, on the audio thread, at the start of the next block, however many
    // stores came in between (the spectrum evaluation belongs to the audio thread).
    void refreshVoices(int32_t channel, int32_t index) noexcept;

    // ---- callback slots -------------------------------------------------------------------------
    // [ui] Each setter publishes a new immutable record of all three slots through one atomic
    // pointer: a caller (the audio thread too) sees the old pair or the new one, never a mix. The
    // setter returns once no call through the old record is still running (unless it is itself
    // called from inside a callback of this engine): after clearing a slot, its context may go.
    // Callbacks run on the thread that caused them: parameter changes on the storing thread (the
    // audio thread for host automation), program changes on a user-interface thread, the tempo
    // reader on the audio thread.
    void setProgramChangedCallback(ProgramChangedFn fn, void* context);
    void setParameterChangedCallback(ParameterChangedFn fn, void* context);
    void setTempoReader(TempoReaderFn fn, void* context);

    // ---- voices ---------------------------------------------------------------------------------
    // [audio] Note-off of a voice: release flags of its envelopes and top-level spectrum states.
    void releaseVoice(Voice& voice) noexcept;
    // [audio] The voice falls silent at once, then voiceFinished.
    void stopVoice(Voice& voice) noexcept;
    // [audio] A component of the voice has finished: clears its bit; an emptied mask stops the voice.
    void clearSoundingBit(Voice& voice, int32_t bit) noexcept;
    // [audio] Counts the voice out; an inactive voice leaves the voice list and the channel, and
    // every note-table entry (and the held glide note) that named it is cleared.
    void voiceFinished(Voice& voice) noexcept;
    // [ui] The longest-assigned voice of the channel, or null when none is assigned.
    const Voice* monitoredVoice() const noexcept;

    // ---- structural edits -----------------------------------------------------------------------
    // [ui] The guard that structural edits hold (EditGuard::EditScope scope(engine.editGuard())) and
    // readers of structure hold (EditGuard::ReadScope). Scopes nest on one thread.
    EditGuard& editGuard() noexcept { return editGuard_; }
    // [ui] selectProgram for a caller that already holds the edit scope; the caller calls
    // notifyProgramChanged after leaving the scope. False as for selectProgram.
    bool selectProgramInEdit(int32_t program, bool load);
    // [ui] Makes a program (e.g. a chunk's channel record) the live sound; caller holds the scope.
    // False when a component record was damaged and that component took its defaults.
    bool applyProgramInEdit(const Program& program);
    // [ui] After the channel's generator was replaced or restructured; caller holds the scope.
    // Rebuilds every voice's spectrum states so that note starts never allocate.
    void generatorChanged();
    // [ui] Calls the program-changed callback with the current program.
    void notifyProgramChanged(int32_t channel);
    // [ui] Makes every store still handed over part of the live values before a reader of structure
    // (bank and chunk writes, program stores) reads them: the audio thread takes them at its next
    // block; a host that has stopped rendering never would, so after a short wait they are applied
    // here under the edit scope.
    void flushPendingStores();

    // ---- diagnostics --------------------------------------------------------------------------
    // [any] MIDI entries lost because the queue of entries waiting for a structural edit was full.
    uint32_t droppedMidiCount() const noexcept { return pendingMidi_.dropped(); }
    // [any] Component records (envelope, step sequencer, generator) found damaged when a program
    // was applied, since construction; each such component took its defaults.
    uint32_t damagedRecordCount() const noexcept { return damagedRecords_.load(std::memory_order_relaxed); }
    // [any] Voice refreshes run since construction (requests are coalesced per block).
    uint64_t refreshCount() const noexcept { return refreshCount_.load(std::memory_order_relaxed); }

    // ---- read access (editor, persistence, tests) -------------------------------------------
    // [ui] under the edit guard's scopes, [audio] otherwise; tests on one thread use them freely.
    Channel& channel() noexcept { return *channel_; }
    const Channel& channel() const noexcept { return *channel_; }
    Program& program(int32_t index) noexcept { return programs_[index]; }
    const Voice& voice(int32_t index) const noexcept { return voices_[index]; }
    Voice& voice(int32_t index) noexcept { return voices_[index]; }
    int32_t voiceCount() const noexcept { return voiceCount_; }
    int32_t voiceListEntry(int32_t position) const noexcept { return voiceList_[position]; }
    int32_t activeVoiceCount() const noexcept { return activeVoiceCount_; }
    int32_t assignedVoiceCount() const noexcept { return assignedVoiceCount_; }
    // The voice playing a MIDI note, or -1; -1 for notes outside 0 … 127.
    int32_t noteVoice(int32_t note) const noexcept;
    int32_t lastNote() const noexcept { return lastNote_; }
    int32_t sampleCounter() const noexcept { return sampleCounter_; }
    // Control ticks run since construction (silent blocks run none).
    uint64_t tickCount() const noexcept { return tickCount_.load(std::memory_order_relaxed); }
    // [audio] MIDI entries waiting for the end of a structural edit.
    int32_t pendingMidiCount() const noexcept { return pendingMidi_.size(); }

private:
    void handleMidi(const MidiEntry& entry) noexcept;
    void noteOn(int32_t note, float velocity) noexcept;
    void noteOff(int32_t note) noexcept;
    int32_t chooseVoice() noexcept;
    void startNote(int32_t voice, int32_t note, float velocity) noexcept;
    void glideVoice(int32_t voice, int32_t note, float velocity) noexcept;
    void applyPendingWork() noexcept;
    void renderRun(float* left, float* right, int32_t run, float& peakL, float& peakR) noexcept;
    void renderSilentBlock(float* left, float* right, int32_t sampleFrames) noexcept;
    void controlTick() noexcept;
    void refreshVoicesUnguarded(int32_t index, float rampFraction) noexcept;
    void afterStore(int32_t channel, int32_t index) noexcept;
    void storeParameter(int32_t index, const ParameterValue& value) noexcept;
    ParameterValue currentValue(int32_t index) const noexcept;
    bool onAudioThread() const noexcept;
    void restartTiming() noexcept;
    void resetVoiceBookkeeping() noexcept;

    int32_t sampleCounter_ = 0;
    int32_t samplesToTick_ = kControlTickSamples;
    int32_t runLength_ = kControlTickSamples;

    // All three callback slots; never changed once published.
    struct CallbackRecord {
        ProgramChangedFn programChanged = nullptr;
        void* programChangedContext = nullptr;
        ParameterChangedFn parameterChanged = nullptr;
        void* parameterChangedContext = nullptr;
        TempoReaderFn tempoReader = nullptr;
        void* tempoReaderContext = nullptr;
    };
    // Holds the published record for one call; the setters wait for none to be held.
    class CallbackUse {
    public:
        explicit CallbackUse(const SynthEngine& engine) noexcept : engine_(engine) {
            engine_.callbacksInUse_.fetch_add(1, std::memory_order_seq_cst);
            record_ = engine_.callbacks_.load(std::memory_order_seq_cst);
            ++callbackDepth_;
        }
        ~CallbackUse() {
            --callbackDepth_;
            engine_.callbacksInUse_.fetch_sub(1, std::memory_order_seq_cst);
        }
        CallbackUse(const CallbackUse&) = delete;
        CallbackUse& operator=(const CallbackUse&) = delete;
        const CallbackRecord* operator->() const noexcept { return record_; }
        explicit operator bool() const noexcept { return record_ != nullptr; }

    private:
        const SynthEngine& engine_;
        const CallbackRecord* record_ = nullptr;
    };
    // Calls through any engine's records that the calling thread is inside right now: a setter
    // called from inside one must not wait for the calls to end.
    static inline thread_local int32_t callbackDepth_ = 0;
    template <class Change>
    void publishCallbacks(Change change);

    std::atomic<const CallbackRecord*> callbacks_{nullptr};
    mutable std::atomic<int32_t> callbacksInUse_{0};
    std::mutex callbackWriters_;
    // Records replaced while a call through them could still be running; freed later.
    std::vector<std::unique_ptr<const CallbackRecord>> retiredCallbacks_;

    std::unique_ptr<Program[]> programs_;
    std::unique_ptr<Channel> channel_;
    std::unique_ptr<Voice[]> voices_;

    int32_t voiceCount_ = 0;
    int32_t voiceList_[kVoiceCount] = {};
    int32_t noteVoice_[kNoteCount] = {};
    int32_t lastNote_ = -1;
    int32_t activeVoiceCount_ = 0;
    int32_t assignedVoiceCount_ = 0;

    // Shared with the editor's meter without a lock; a reading may miss or repeat a block's peak.
    std::atomic<bool> resetPeaks_{false};
    std::atomic<float> peakLeft_{0.0f};
    std::atomic<float> peakRight_{0.0f};

    EditGuard editGuard_;
    PendingStores pendingStores_;
    MidiQueue pendingMidi_;
    std::atomic<bool> refreshPending_{false};
    std::atomic<bool> refreshAllPending_{false};
    // The thread that last rendered or handled MIDI; none until the first block.
    std::atomic<std::thread::id> audioThread_{};
    std::atomic<uint64_t> tickCount_{0};
    std::atomic<uint64_t> refreshCount_{0};
    std::atomic<uint32_t> damagedRecords_{0};
};

}  // namespace quenvale
