// Test scaffolding for the oscillator: a channel and voice generator driven like the engine drives them,
// with the four spectrum curves set directly, and simple signal measurements.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "engine/channel.h"
#include "engine/osc/partial_targets.h"
#include "engine/osc/voice_generator.h"
#include "engine/rate_values.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/generator_spectrum.h"
#include "params/mod_param.h"
#include "engine_test_support.h"
#include "scoped_rates.h"

namespace quenvale::osctest {

using CurveFn = std::function<float(int partial)>;

// One partial curve per spectrum property.
struct Curves {
    CurveFn amp = [](int) { return 0.0f; };
    CurveFn detune = [](int) { return 0.0f; };
    CurveFn phase = [](int) { return 0.0f; };
    CurveFn pan = [](int) { return 0.0f; };
};

// A voice's generator on its own channel. Every control update is followed by writing the curves into
// the spectrum outputs and recomputing the partial targets with the same step fraction, so the tests do
// not depend on what the spectrum modulators compute.
struct TestVoice {
    std::unique_ptr<Channel> channel = std::make_unique<Channel>();
    std::unique_ptr<VoiceGenerator> vg = std::make_unique<VoiceGenerator>();
    float outputs[kVoiceOutputCount] = {};
    float keyFrequency = 440.0f;
    float env1 = 1.0f;
    Curves curves;

    explicit TestVoice(int partialCount = 512) {
        channel->generator->partialCount = partialCount;
        channel->gen.ratio.base = 1.0f;
        channel->gen.out.base = 1.0f;
        channel->gain.base = 1.0f;
        prepareGeneratorStates(vg->spectrum, *channel->generator);
    }

    void writeCurves() {
        for (int k = 0; k < kMaxPartials; ++k) {
            vg->spectrum.states[kSpectrumAmp].output[k] = curves.amp(k);
            vg->spectrum.states[kSpectrumDetune].output[k] = curves.detune(k);
            vg->spectrum.states[kSpectrumPhase].output[k] = curves.phase(k);
            vg->spectrum.states[kSpectrumPan].output[k] = curves.pan(k);
        }
    }
    void applyCurves(float rampFraction) {
        writeCurves();
        const float dt = rampFraction != 0.0f ? (1.0f / rampFraction) * rates.sampleTime : 0.0f;
        const ModulatorState* s = vg->spectrum.states;
        computePartialTargets(vg->bank, s[kSpectrumAmp].output.data(), s[kSpectrumDetune].output.data(),
                              s[kSpectrumPhase].output.data(), s[kSpectrumPan].output.data(), dt);
    }
    void start(float noteFrequency) {
        keyFrequency = noteFrequency;
        writeCurves();
        startVoiceGenerator(*vg, *channel, noteFrequency, outputs);
        updateGeneratorControl(*vg, *channel, outputs, keyFrequency, env1, 0.0f);
        applyCurves(0.0f);
    }
    void tick() {
        updateGeneratorControl(*vg, *channel, outputs, keyFrequency, env1, 0.015625f);
        applyCurves(0.015625f);
    }
    // n samples through the run renderer in runs of at most 64, with a tick after every full 64.
    void render(std::vector<float>& left, std::vector<float>& right, int n) {
        left.assign(static_cast<size_t>(n), 0.0f);
        right.assign(static_cast<size_t>(n), 0.0f);
        int done = 0;
        while (done < n) {
            const int length = std::min(64, n - done);
            renderGeneratorRun(*vg, *channel, length, left.data() + done, right.data() + done);
            done += length;
            if (length == 64) tick();
        }
    }
};

}  // namespace quenvale::osctest
