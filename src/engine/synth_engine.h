// The synthesizer behind the plug-in: the bank of programs, the live channel, the voice pool, MIDI
// handling and the render loop.
//
// Thread tags: [audio] only the host's audio thread, [ui] only the user-interface thread,
// [any] either. The engine knows nothing of the plug-in ABI.
//
// Structural edits (program selection with loading, bank and chunk loads, generator replacement)
// hold an EditGuard::EditScope; a render block that meets one is rendered silent while the sample
// count and the tick grid move on, and MIDI arriving meanwhile is queued and applied at the next
// block. Plain parameter stores never wait for anything.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "common/capacity.h"
#include "engine/channel.h"
#include "engine/edit_guard.h"
#include "engine/midi_entry.h"
#include "engine/midi_queue.h"
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
    // 64th sample of the engine's own count. Never writes inf or NaN: a voice whose output is not finite
    // is silenced and reset (one debug line), and a channel stage that gives inf or NaN has its
    // run muted and its lines cleared (one debug line); both are checked once per run.
    void render(float* left, float* right, int32_t sampleFrames) noexcept;
    // [ui] Sets the process-wide rate values (for every engine of the process).
    void setSampleRate(float sampleRate) noexcept;
    // [ui] Returns the peaks since the last reading; the next block starts its peaks from 0.
    void readPeaks(float& left, float& right) noexcept;

    // ---- programs -------------------------------------------------------------------------------
    // [ui] Silences the channel's voices, clears the note table, makes program the current one and,
    // with load, applies its stored values; then calls the program-changed callback.
    void selectProgram(int32_t channel, int32_t program, bool load);
    // [any]
    int32_t currentProgram(int32_t channel) const noexcept;
    // [any] The stored name of a program (at most 16 characters); "" outside 0 … 127.
    const char* programName(int32_t program) const noexcept;
    // [ui] Copies at most 16 characters.
    void setProgramName(int32_t program, const char* name) noexcept;
    // [ui] Stores the live channel into program (the editor's store command).
    void storeProgram(int32_t program);
    // [ui] One stored value of a program; kind None outside the ranges.
    ParameterValue programParameterValue(int32_t program, int32_t index) const noexcept;
    // [ui]
    void setProgramParameterValue(int32_t program, int32_t index, const ParameterValue& value) noexcept;

    // ---- parameters -----------------------------------------------------------------------------
    // [any] Host-level access (normalised 0..1 values); the store refreshes the voices and calls the
    // parameter-changed callback. Indices outside 0 … 382 store nothing and read 0.
    void setParameterNormalized(int32_t channel, int32_t index, float value) noexcept;
    float getParameterNormalized(int32_t channel, int32_t index) noexcept;
    // [any] Text owned by the engine, overwritten by the next request.
    const char* parameterDisplayText(int32_t channel, int32_t index) noexcept;
    // [any] Stores through the routing, refreshes the voices, calls the parameter-changed callback.
    void setParameterValue(int32_t channel, int32_t index, const ParameterValue& value) noexcept;
    // [any]
    ParameterValue getParameterValue(int32_t channel, int32_t index) const noexcept;
    // [ui] The editor's label of a control: macro names (indices 2 … 7) from the current program,
    // the catalogue's label otherwise; "" outside 0 … 382.
    const char* parameterLabel(int32_t index) const noexcept;
    // [ui] Sets a macro name (at most 16 characters) of the current program; other indices: nothing.
    void setParameterLabel(int32_t index, const char* text) noexcept;
    // [any] controllerValue[cc] = value, as a MIDI controller message does (cc 0 … 127).
    void setControllerValue(int32_t channel, int32_t cc, float value) noexcept;
    // [any] After a parameter store: the voice refresh of every voice assigned to the channel (the
    // LFO free-running increments, the generator refresh, the channel effects' update), with
    // ramp fraction 1/64, or 0 for index 383 ("all parameters"). It runs at once on the audio thread
    // (or before any block was rendered); from another thread, or during a structural edit, it runs
    // at the start of the next block, because the spectrum evaluation belongs to the audio thread.
    void refreshVoices(int32_t channel, int32_t index) noexcept;

    // ---- callback slots -------------------------------------------------------------------------
    // [ui]
    void setProgramChangedCallback(ProgramChangedFn fn, void* context) noexcept;
    void setParameterChangedCallback(ParameterChangedFn fn, void* context) noexcept;
    void setTempoReader(TempoReaderFn fn, void* context) noexcept;

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
    // [ui] The guard that structural edits hold (EditGuard::EditScope scope(engine.editGuard())).
    EditGuard& editGuard() noexcept { return editGuard_; }
    // [ui] selectProgram for a caller that already holds the edit scope; the caller calls
    // notifyProgramChanged after leaving the scope.
    void selectProgramInEdit(int32_t program, bool load);
    // [ui] Makes a program (e.g. a chunk's channel record) the live sound; caller holds the scope.
    void applyProgramInEdit(const Program& program);
    // [ui] After the channel's generator was replaced or restructured; caller holds the scope.
    // Rebuilds every voice's spectrum states so that note starts never allocate.
    void generatorChanged();
    // [ui] Calls the program-changed callback with the current program.
    void notifyProgramChanged(int32_t channel);

    // ---- read access (editor, persistence, tests) -------------------------------------------
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
    // MIDI entries waiting for the end of a structural edit.
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
    // Voices (bit per index) whose output was inf or NaN: one debug line each, then silenced and reset.
    void silenceFaultedVoices(uint32_t faulted) noexcept;
    void controlTick() noexcept;
    void refreshVoicesUnguarded(int32_t index, float rampFraction) noexcept;
    void afterStore(int32_t channel, int32_t index) noexcept;
    void restartTiming() noexcept;
    void resetVoiceBookkeeping() noexcept;

    int32_t sampleCounter_ = 0;
    int32_t samplesToTick_ = kControlTickSamples;
    int32_t runLength_ = kControlTickSamples;

    ProgramChangedFn programChanged_ = nullptr;
    void* programChangedContext_ = nullptr;
    ParameterChangedFn parameterChanged_ = nullptr;
    void* parameterChangedContext_ = nullptr;
    TempoReaderFn tempoReader_ = nullptr;
    void* tempoReaderContext_ = nullptr;

    std::unique_ptr<Program[]> programs_;
    std::unique_ptr<Channel> channel_;
    std::unique_ptr<Voice[]> voices_;

    int32_t voiceCount_ = 0;
    int32_t voiceList_[kVoiceCount] = {};
    int32_t noteVoice_[kNoteCount] = {};
    int32_t lastNote_ = -1;
    bool channelFaulted_ = false;  // the last run's channel stage gave inf or NaN (reported once)
    int32_t activeVoiceCount_ = 0;
    int32_t assignedVoiceCount_ = 0;

    // Shared with the editor's meter without a lock; a reading may miss or repeat a block's peak.
    std::atomic<bool> resetPeaks_{false};
    std::atomic<float> peakLeft_{0.0f};
    std::atomic<float> peakRight_{0.0f};

    EditGuard editGuard_;
    MidiQueue pendingMidi_;
    std::atomic<bool> refreshPending_{false};
    std::atomic<bool> refreshAllPending_{false};
    // The thread that last rendered or handled MIDI; none until the first block.
    std::atomic<std::thread::id> audioThread_{};
    std::atomic<uint64_t> tickCount_{0};
    DisplayTextBuffer displayText_;
};

}  // namespace quenvale
