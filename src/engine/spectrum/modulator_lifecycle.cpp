// Building, resetting and advancing the per-voice state trees of spectrum modulators.
#include "engine/spectrum/modulator_evaluation.h"
#include "params/mod_evaluation.h"

namespace quenvale {

void prepareModulatorState(ModulatorState& state, const Modulator& modulator) {
    const size_t links = modulator.children.size();
    if (state.children.size() > links)
        state.children.erase(state.children.begin() + links, state.children.end());
    state.children.reserve(links);
    while (state.children.size() < links) state.children.emplace_back(state.output.count());
    for (size_t j = 0; j < links; ++j) {
        const ModulatorLink& link = modulator.children[j];
        if (link.child) {
            prepareModulatorState(state.children[j], *link.child);
        } else {
            state.children[j].children.clear();
        }
    }
}

void resetModulatorState(ModulatorState& state, const Modulator& modulator) noexcept {
    state.released = false;
    state.time = 0.0f;
    state.gain = 1.0f;
    state.offset = 0.0f;
    state.shift = 0.0f;
    state.cutoff = modulator.cutoff.base;
    state.resonance = modulator.resonance.base;
    state.dryWet = modulator.dryWet.base;
    state.output.clear();
    state.evaluatedCount = 0;
    if (state.children.size() != modulator.children.size()) return;
    for (size_t j = 0; j < state.children.size(); ++j) {
        const ModulatorLink& link = modulator.children[j];
        if (link.child) resetModulatorState(state.children[j], *link.child);
    }
}

void evaluateModulatorValues(Modulator& modulator, ModulatorState& state, const Channel& channel,
                             const float* voiceOutputs) noexcept {
    state.gain = evaluateModParam(channel, voiceOutputs, modulator.gain);
    state.offset = evaluateModParam(channel, voiceOutputs, modulator.offset);
    state.shift = evaluateModParam(channel, voiceOutputs, modulator.shift);
    state.cutoff = evaluateModParam(channel, voiceOutputs, modulator.cutoff);
    state.resonance = evaluateModParam(channel, voiceOutputs, modulator.resonance);
    state.dryWet = evaluateModParam(channel, voiceOutputs, modulator.dryWet);
    if (modulator.children.empty() || state.children.size() != modulator.children.size()) return;
    for (size_t j = 0; j < state.children.size(); ++j) {
        ModulatorLink& link = modulator.children[j];
        if (link.child) evaluateModulatorValues(*link.child, state.children[j], channel, voiceOutputs);
    }
}

void advanceModulatorTime(ModulatorState& state, float dt) noexcept {
    state.time += dt;
    for (ModulatorState& child : state.children) advanceModulatorTime(child, dt);
}

}  // namespace quenvale
