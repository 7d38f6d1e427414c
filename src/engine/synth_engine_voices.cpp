// MIDI handling and the voice pool: note starts, glides, releases and voice bookkeeping.
#include <bit>

#include "engine/channel.h"
#include "engine/channel_control.h"
#include "engine/note_frequency.h"
#include "engine/synth_engine.h"
#include "engine/voice/glide.h"
#include "engine/voice/voice.h"
#include "engine/voice/voice_control.h"
#include "params/parameter_access.h"

namespace quenvale {
namespace {

// 1/127 rounded to single precision; products are taken in double precision and stored as float.
constexpr double kMidiValueScale = 0.007874015718698502;

float midiValue(uint8_t data) noexcept {
    return static_cast<float>(data * kMidiValueScale);
}

}  // namespace

void SynthEngine::processMidi(const MidiEntry* entries, int32_t count) noexcept {
    if (entries == nullptr || count < 1) return;
    audioThread_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    if (!editGuard_.tryEnterAudio()) {
        // A structural edit is moving engine memory: keep the entries for the next block.
        for (int32_t i = 0; i < count; ++i) pendingMidi_.push(entries[i]);
        return;
    }
    applyPendingWork();
    for (int32_t i = 0; i < count; ++i) handleMidi(entries[i]);
    editGuard_.leaveAudio();
}

void SynthEngine::applyPendingWork() noexcept {
    pendingStores_.takeAll(
        [this](int32_t index, const ParameterValue& value) { quenvale::setParameterValue(*channel_, index, value); });
    const int32_t queued = pendingMidi_.size();
    for (int32_t i = 0; i < queued; ++i) handleMidi(pendingMidi_.data()[i]);
    pendingMidi_.clear();
    if (refreshPending_.exchange(false)) {
        // Every LFO increment is recomputed (each tick recomputes them anyway before they are used);
        // a pending refresh of all parameters jumps to the targets as it would have done at once.
        const bool all = refreshAllPending_.exchange(false);
        refreshVoicesUnguarded(kAllParameters, all ? 0.0f : 1.0f / static_cast<float>(samplesToTick_));
    }
}

void SynthEngine::handleMidi(const MidiEntry& entry) noexcept {
    // Data bytes index 128-entry tables: a malformed entry with a byte above 127 is ignored.
    switch (entry.status & 0xF0) {
        case 0x80:
            if (entry.data1 < kNoteCount) noteOff(entry.data1);
            break;
        case 0x90:
            if (entry.data1 >= kNoteCount || entry.data2 > 127) break;
            if (entry.data2 == 0)
                noteOff(entry.data1);
            else
                noteOn(entry.data1, midiValue(entry.data2));
            break;
        case 0xB0:
            if (entry.data1 < kControllerCount && entry.data2 <= 127)
                channel_->controllerValue[entry.data1] = midiValue(entry.data2);
            break;
        default:
            break;
    }
}

void SynthEngine::noteOn(int32_t note, float velocity) noexcept {
    if (lastNote_ >= 0) {
        const int32_t held = noteVoice_[lastNote_];
        if (held >= 0) {
            noteVoice_[lastNote_] = -1;
            glideVoice(held, note, velocity);
            return;
        }
        lastNote_ = -1;  // the held voice has gone: this note starts normally
    }
    if (noteVoice_[note] >= 0) return;
    const int32_t voice = chooseVoice();
    if (voice >= 0) startNote(voice, note, velocity);
}

int32_t SynthEngine::chooseVoice() noexcept {
    for (int32_t i = 0; i < kVoiceCount; ++i)
        if (voices_[i].channel == 0 && !voices_[i].active) return i;
    for (int32_t i = 0; i < kVoiceCount; ++i) {
        Voice& v = voices_[i];
        if (v.channel != -1) continue;
        v.channel = 0;
        ++assignedVoiceCount_;
        voiceList_[voiceCount_++] = i;
        return i;
    }
    return -1;  // every voice sounds: the note is dropped
}

void SynthEngine::startNote(int32_t voice, int32_t note, float velocity) noexcept {
    noteVoice_[note] = voice;
    if (std::bit_cast<uint32_t>(channel_->glide) != 0u) lastNote_ = note;
    startVoice(*channel_, voices_[voice], noteFrequency[note], velocity);
    updateChannelEffects(*channel_, 0.0f);
    ++activeVoiceCount_;
}

void SynthEngine::glideVoice(int32_t voice, int32_t note, float velocity) noexcept {
    // A different voice still holding the target key would lose its only way to be released.
    const int32_t other = noteVoice_[note];
    if (other >= 0 && other != voice) releaseVoice(voices_[other]);
    noteVoice_[note] = voice;
    lastNote_ = note;
    startGlide(voices_[voice], noteFrequency[note], velocity, channel_->glide);
}

void SynthEngine::noteOff(int32_t note) noexcept {
    const int32_t voice = noteVoice_[note];
    if (voice < 0) return;
    noteVoice_[note] = -1;
    lastNote_ = -1;
    releaseVoice(voices_[voice]);
}

void SynthEngine::releaseVoice(Voice& voice) noexcept {
    releaseVoiceComponents(voice);
}

void SynthEngine::stopVoice(Voice& voice) noexcept {
    silenceVoice(voice);
    voiceFinished(voice);
}

void SynthEngine::clearSoundingBit(Voice& voice, int32_t bit) noexcept {
    if (voice.soundingMask == 0 || bit < 0 || bit >= 32) return;
    voice.soundingMask &= ~(1u << bit);
    if (voice.soundingMask == 0) stopVoice(voice);
}

void SynthEngine::voiceFinished(Voice& voice) noexcept {
    --activeVoiceCount_;
    if (voice.active) return;
    int32_t position = 0;
    while (position < voiceCount_ && voiceList_[position] != voice.index) ++position;
    if (position < voiceCount_) {
        for (int32_t k = position; k + 1 < voiceCount_; ++k) voiceList_[k] = voiceList_[k + 1];
        voiceList_[--voiceCount_] = -1;
    }
    if (voice.channel != -1) --assignedVoiceCount_;
    voice.channel = -1;
    // No note may keep naming a voice that the next note could take over.
    if (lastNote_ >= 0 && noteVoice_[lastNote_] == voice.index) lastNote_ = -1;
    for (int32_t& v : noteVoice_)
        if (v == voice.index) v = -1;
}

const Voice* SynthEngine::monitoredVoice() const noexcept {
    const int32_t head = voiceList_[0];
    return (voiceCount_ > 0 && head >= 0) ? &voices_[head] : nullptr;
}

int32_t SynthEngine::noteVoice(int32_t note) const noexcept {
    return (note >= 0 && note < kNoteCount) ? noteVoice_[note] : -1;
}

}  // namespace quenvale
