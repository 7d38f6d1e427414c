// The render loop: runs between control ticks on the engine's own 64-sample grid, the control
// tick, the channel stage and the output peaks.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/channel.h"
#include "engine/channel_control.h"
#include "engine/denormal_guard.h"
#include "engine/fx/channel_stage.h"
#include "engine/rate_values.h"
#include "engine/synth_engine.h"
#include "engine/voice/glide.h"
#include "engine/voice/voice.h"
#include "engine/voice/voice_control.h"

namespace quenvale {
namespace {

constexpr uint32_t kTickMask = kControlTickSamples - 1;

int32_t advanceCounter(int32_t counter, int32_t samples) noexcept {
    // The count wraps past 2^31 after about 13.5 hours at 44.1 kHz; only its low six bits matter.
    return static_cast<int32_t>(static_cast<uint32_t>(counter) + static_cast<uint32_t>(samples));
}

bool onTick(int32_t counter) noexcept {
    return (static_cast<uint32_t>(counter) & kTickMask) == 0;
}

int32_t samplesToNextTick(int32_t counter) noexcept {
    return kControlTickSamples - static_cast<int32_t>(static_cast<uint32_t>(counter) & kTickMask);
}

}  // namespace

void SynthEngine::render(float* left, float* right, int32_t sampleFrames) noexcept {
    ScopedDenormalGuard denormals;
    audioThread_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    if (sampleFrames < 0) sampleFrames = 0;
    if (sampleFrames > 0 && (left == nullptr || right == nullptr)) return;
    if (!editGuard_.tryEnterAudio()) {
        renderSilentBlock(left, right, sampleFrames);
        return;
    }
    applyPendingWork();

    float peakL = 0.0f, peakR = 0.0f;
    if (!resetPeaks_.exchange(false)) {
        peakL = peakLeft_.load(std::memory_order_relaxed);
        peakR = peakRight_.load(std::memory_order_relaxed);
    }
    int32_t remaining = sampleFrames;
    int32_t done = 0;
    // One pass at least: a 0-frame call standing on a tick runs that tick.
    do {
        const int32_t run = std::min(remaining, runLength_);
        if (run > 0) renderRun(left + done, right + done, run, peakL, peakR);
        sampleCounter_ = advanceCounter(sampleCounter_, run);
        runLength_ -= run;
        if (onTick(sampleCounter_)) {
            controlTick();
            samplesToTick_ = samplesToNextTick(sampleCounter_);
            runLength_ = samplesToTick_;
        }
        remaining -= run;
        done += run;
    } while (remaining > 0);
    peakLeft_.store(peakL, std::memory_order_relaxed);
    peakRight_.store(peakR, std::memory_order_relaxed);
    editGuard_.leaveAudio();
}

// A block met a structural edit: zeros, no control work, but the count and the tick grid move on
// so that the ticks stay on multiples of 64 and the block lengths the host sees keep their timing.
// The peaks are left as they were.
void SynthEngine::renderSilentBlock(float* left, float* right, int32_t sampleFrames) noexcept {
    if (sampleFrames > 0) {
        std::memset(left, 0, sizeof(float) * static_cast<size_t>(sampleFrames));
        std::memset(right, 0, sizeof(float) * static_cast<size_t>(sampleFrames));
    }
    sampleCounter_ = advanceCounter(sampleCounter_, sampleFrames);
    runLength_ = samplesToNextTick(sampleCounter_);
}

void SynthEngine::renderRun(float* left, float* right, int32_t run, float& peakL, float& peakR) noexcept {
    alignas(16) float sumL[kControlTickSamples];
    alignas(16) float sumR[kControlTickSamples];
    std::memset(sumL, 0, sizeof(float) * static_cast<size_t>(run));
    std::memset(sumR, 0, sizeof(float) * static_cast<size_t>(run));
    // Voice by voice in list order: each sample's sum gets its voices added in the same order as a
    // sample-by-sample loop would add them.
    for (int32_t i = 0; i < voiceCount_; ++i) {
        Voice& v = voices_[voiceList_[i]];
        if (!v.active) continue;
        advanceGlide(v, run);
        renderGeneratorRun(v.generator, *channel_, run, sumL, sumR);
    }
    Channel& ch = *channel_;
    for (int32_t s = 0; s < run; ++s) {
        float l = sumL[s], r = sumR[s];
        processChannelSample(ch.fx, ch.masterGain, l, r);
        left[s] = l;
        right[s] = r;
        const double absL = std::fabs(static_cast<double>(l));
        const double absR = std::fabs(static_cast<double>(r));
        if (absL > peakL) peakL = static_cast<float>(absL);
        if (absR > peakR) peakR = static_cast<float>(absR);
    }
}

void SynthEngine::controlTick() noexcept {
    tickCount_.fetch_add(1, std::memory_order_relaxed);
    {
        CallbackUse callbacks(*this);
        if (callbacks && callbacks->tempoReader != nullptr) {
            // A host without a time record (or a nonsense answer) keeps the last tempo.
            const float tempo = callbacks->tempoReader(callbacks->tempoReaderContext);
            if (std::isfinite(tempo) && tempo > 0.0f) rates.hostTempo = tempo;
        }
    }
    updateChannelControl(*channel_);
    // A voice may end inside the pass and close up the list: walk a copy taken before the pass, so
    // every voice still listed is updated exactly once.
    int32_t pass[kVoiceCount];
    const int32_t count = voiceCount_;
    std::memcpy(pass, voiceList_, sizeof(int32_t) * static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        Voice& v = voices_[pass[i]];
        if (!v.active || v.channel != 0) continue;
        const uint32_t finished = tickVoiceEnvelopes(*channel_, v);
        for (int32_t k = 0; k < kEnvelopeCount; ++k)
            if (finished & (1u << k)) clearSoundingBit(v, k);
        if (!v.active) continue;
        tickVoiceModulators(*channel_, v);
    }
}

void SynthEngine::readPeaks(float& left, float& right) noexcept {
    left = peakLeft_.load(std::memory_order_relaxed);
    right = peakRight_.load(std::memory_order_relaxed);
    resetPeaks_.store(true);
}

}  // namespace quenvale
