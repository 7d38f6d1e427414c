// The resynthesis run: read, stretch, analyse frame by frame, normalise, then apply to the generator.
#include "resynth/resynthesis.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/channel.h"
#include "engine/edit_guard.h"
#include "engine/spectrum/generator.h"
#include "engine/synth_engine.h"
#include "resynth/harmonic_analyser.h"
#include "resynth/resample.h"
#include "resynth/wav_reader.h"

namespace quenvale {
namespace {

constexpr double kBinWidthScale = 3.0517578125e-5;  // 1 / 32768: the bin width is rate / 32768

bool validPartialCount(int32_t count) noexcept {
    return count == 64 || count == 128 || count == 256 || count == 512;
}

// Appends a breakpoint holding the first `count` values of `curve` (the rest of its 512 stay 0).
void appendBreakpoint(std::vector<SpectrumBreakpoint>& list, float distance, const PartialCurve& curve) {
    SpectrumBreakpoint& bp = list.emplace_back(distance, 1.0f);
    const int32_t n = std::min(curve.size(), bp.values.size());
    std::copy(curve.data(), curve.data() + n, bp.values.data());
}

// Each breakpoint's values are scaled to peak at 1.0; its level carries its loudness relative to
// the loudest frame of the run (a silent frame gets level 0).
void normaliseAmplitudes(std::vector<SpectrumBreakpoint>& list, int32_t partialCount, double globalPeak) {
    for (SpectrumBreakpoint& bp : list) {
        float* v = bp.values.data();
        float m = 0.0f;
        for (int32_t k = 0; k < partialCount; ++k) m = std::max(m, v[k]);
        if (m > 0.0f) {
            const float reciprocal = 1.0f / m;
            for (int32_t k = 0; k < partialCount; ++k) v[k] *= reciprocal;
        }
        bp.level = static_cast<float>(m / globalPeak);
    }
}

void computeSlopes(std::vector<SpectrumBreakpoint>& list) noexcept {
    for (size_t i = 0; i < list.size(); ++i)
        updateSlopes(list[i], i + 1 < list.size() ? &list[i + 1] : nullptr);
}

}  // namespace

bool analyseResynthesis(const char* path, const ResynthOptions& options, int32_t partialCount,
                        ResynthAnalysis& out, const ResynthProgress& progress) {
    out = ResynthAnalysis{};
    out.options = options;
    out.partialCount = partialCount;
    if (const char* error = resynthOptionsError(options)) {
        out.report.error = error;
        return false;
    }
    if (!validPartialCount(partialCount)) {
        out.report.error = "The partial count must be 64, 128, 256 or 512.";
        return false;
    }

    WavData wav;
    if (!readWav(path, wav)) {
        out.report.error = "The file could not be read as a 16-bit stereo WAV file at 44100 Hz.";
        return false;
    }
    const uint32_t rate = wav.wavSampleRate;
    out.report.sourceFrames = wav.frames;

    // Stretch the recording so that its fundamental lies exactly on bin F, harmonic h on bin h·F.
    const double binWidth = rate * kBinWidthScale;
    const double fundamentalBins = static_cast<double>(options.fundamental) / binWidth;
    const int32_t f = static_cast<int32_t>(fundamentalBins);  // ≥ 7 within the options' ranges
    const double ratio = fundamentalBins / f;
    const size_t frames = static_cast<size_t>(static_cast<double>(wav.frames) * ratio);
    std::vector<double> left = stretchLinear(wav.left, frames, 1.0 / ratio);
    std::vector<double> right = stretchLinear(wav.right, frames, 1.0 / ratio);
    wav = WavData{};
    out.report.analysedFrames = frames;
    out.report.fundamentalBin = f;

    // ≥ 440 frames within the options' ranges (the single-precision 0.01 s gives 440).
    const int64_t hop =
        static_cast<int64_t>(static_cast<double>(rate) * static_cast<double>(options.samplingDistance));
    const int64_t frameCount64 = static_cast<int64_t>(frames);
    const int32_t frameCount = frameCount64 < kFirstFrameCentre
                                   ? 0
                                   : static_cast<int32_t>(1 + (frameCount64 - kFirstFrameCentre) / hop);
    out.report.frameCount = frameCount;

    const bool targets[kSpectrumPropertyCount] = {options.amp, options.detune, options.phase, options.pan};
    for (int32_t t = 0; t < kSpectrumPropertyCount; ++t) {
        out.targeted[t] = targets[t];
        if (targets[t])
            out.breakpoints[t].reserve(t == kSpectrumPhase ? std::min(frameCount, 1) : frameCount);
    }

    HarmonicAnalyser analyser(f, partialCount);
    const float later = options.samplingDistance;
    int32_t done = 0;
    for (int64_t centre = kFirstFrameCentre; centre <= frameCount64; centre += hop) {
        const bool first = done == 0;
        analyser.analyseFrame(left.data(), right.data(), frameCount64, centre, first);
        const float distance = first ? 0.0f : later;
        if (out.targeted[kSpectrumAmp])
            appendBreakpoint(out.breakpoints[kSpectrumAmp], distance, analyser.amplitude());
        if (out.targeted[kSpectrumDetune])
            appendBreakpoint(out.breakpoints[kSpectrumDetune], distance, analyser.detune());
        if (out.targeted[kSpectrumPan])
            appendBreakpoint(out.breakpoints[kSpectrumPan], distance, analyser.pan());
        if (first && out.targeted[kSpectrumPhase])
            appendBreakpoint(out.breakpoints[kSpectrumPhase], 0.0f, analyser.phase());
        ++done;
        if (progress) progress(done, frameCount);
    }

    if (out.targeted[kSpectrumAmp] && analyser.globalPeak() > 0.0 && !out.breakpoints[kSpectrumAmp].empty())
        normaliseAmplitudes(out.breakpoints[kSpectrumAmp], partialCount, analyser.globalPeak());

    for (int32_t t = 0; t < kSpectrumPropertyCount; ++t) {
        computeSlopes(out.breakpoints[t]);
        out.report.breakpointsWritten += static_cast<int32_t>(out.breakpoints[t].size());
    }
    return true;
}

void applyResynthesis(Generator& generator, ResynthAnalysis& analysis) {
    for (int32_t t = 0; t < kSpectrumPropertyCount; ++t) {
        if (!analysis.targeted[t]) continue;
        Modulator& modulator = generator.modulators[t];
        Modulator* target = &modulator;
        if (analysis.options.additiveLayer) {
            target = &modulator.addChild("Re-Synth", kCombineAdd, true);
        } else {
            // Taking the layers out (rather than destroying them here) keeps their release, and its
            // time, out of the caller's edit scope.
            analysis.replacedChildren[t].swap(modulator.children);
            modulator.children.clear();
        }
        analysis.replacedBreakpoints[t].swap(target->breakpoints);
        target->breakpoints = std::move(analysis.breakpoints[t]);
        analysis.breakpoints[t].clear();
    }
}

bool resynthesize(Generator& generator, const char* path, const ResynthOptions& options,
                  ResynthReport* report, const ResynthProgress& progress) {
    ResynthAnalysis analysis;
    const bool ok = analyseResynthesis(path, options, generator.partialCount, analysis, progress);
    if (report != nullptr) *report = analysis.report;
    if (!ok) return false;
    applyResynthesis(generator, analysis);
    return true;
}

bool resynthesize(Generator& generator, const char* path, const ResynthOptions& options, EditGuard& guard,
                  const std::function<void()>& applied, ResynthReport* report,
                  const ResynthProgress& progress) {
    ResynthAnalysis analysis;
    const bool ok = analyseResynthesis(path, options, generator.partialCount, analysis, progress);
    if (report != nullptr) *report = analysis.report;
    if (!ok) return false;
    {
        EditGuard::EditScope scope(guard);
        applyResynthesis(generator, analysis);
        if (applied) applied();
    }
    return true;  // the replaced lists and layers are released here, outside the scope
}

bool resynthesize(SynthEngine& engine, const char* path, const ResynthOptions& options, ResynthReport* report,
                  const ResynthProgress& progress) {
    return resynthesize(
        *engine.channel().generator, path, options, engine.editGuard(),
        [&engine] { engine.generatorChanged(); }, report, progress);
}

}  // namespace quenvale
