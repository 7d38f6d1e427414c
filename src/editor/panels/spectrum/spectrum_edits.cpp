// Structural edits of the live generator's modulators.
#include "editor/panels/spectrum/spectrum_edits.h"

#include <algorithm>
#include <utility>

#include "engine/channel.h"
#include "engine/synth_engine.h"

namespace quenvale::editor {

Generator& liveGenerator(SynthEngine& engine) noexcept {
    return *engine.channel().generator;
}

std::vector<float> breakpointTimes(const Modulator& modulator) {
    std::vector<float> times;
    float t = 0.0f;
    for (const SpectrumBreakpoint& bp : modulator.breakpoints) {
        t += bp.distance;
        times.push_back(t);
    }
    return times;
}

int32_t insertBreakpointAt(SynthEngine& engine, SpectrumTarget& target, float time) {
    EditGuard::ReadScope read(engine.editGuard());  // no other thread replaces the tree meanwhile
    Generator& g = liveGenerator(engine);
    const Modulator& peek = target.resolve(g);
    const std::vector<float> times = breakpointTimes(peek);
    int32_t index = 0;
    while (index < static_cast<int32_t>(times.size()) && times[index] <= time) ++index;
    const float before = index == 0 ? 0.0f : times[index - 1];
    {
        EditGuard::EditScope scope(engine.editGuard());
        Modulator& m = target.resolve(g);
        m.insertBreakpoint(index, std::max(0.0f, time - before), 1.0f, true);
        const int32_t from = index > 0 ? index - 1 : index + 1;
        if (from < m.breakpointCount() && from != index) {
            m.breakpoints[index].values.copyFrom(m.breakpoints[from].values);
            m.breakpoints[index].level = m.breakpoints[from].level;
            m.setBreakpoint(index, m.breakpoints[index].distance, m.breakpoints[index].level);
            m.setBreakpointValues(index, m.breakpoints[index].values);
            if (index + 1 < m.breakpointCount())
                m.setBreakpoint(index + 1, m.breakpoints[index + 1].distance, m.breakpoints[index + 1].level);
        }
        engine.generatorChanged();
    }
    target.breakpoint = index;
    return index;
}

void moveBreakpoint(SynthEngine& engine, SpectrumTarget& target, int32_t index, float time) {
    EditGuard::ReadScope read(engine.editGuard());  // no other thread replaces the tree meanwhile
    Modulator& m = target.resolve(liveGenerator(engine));
    if (index < 0 || index >= m.breakpointCount()) return;
    const std::vector<float> times = breakpointTimes(m);
    const float before = index == 0 ? 0.0f : times[index - 1];
    const float distance = std::max(0.0f, time - before);
    m.setBreakpoint(index, distance, m.breakpoints[index].level);
    if (index + 1 < m.breakpointCount())
        m.setBreakpoint(index + 1, std::max(0.0f, times[index + 1] - (before + distance)),
                        m.breakpoints[index + 1].level);
}

bool removeBreakpoint(SynthEngine& engine, SpectrumTarget& target, int32_t index) {
    EditGuard::ReadScope read(engine.editGuard());  // no other thread replaces the tree meanwhile
    Generator& g = liveGenerator(engine);
    if (target.resolve(g).breakpointCount() <= 1) return false;
    bool removed = false;
    {
        EditGuard::EditScope scope(engine.editGuard());
        Modulator& m = target.resolve(g);
        // The breakpoint after it keeps its time.
        if (index >= 0 && index + 1 < m.breakpointCount())
            m.setBreakpoint(index + 1, m.breakpoints[index + 1].distance + m.breakpoints[index].distance,
                            m.breakpoints[index + 1].level);
        removed = m.removeBreakpoint(index);
        engine.generatorChanged();
    }
    target.resolve(g);
    return removed;
}

int32_t removeBreakpointsAfterSelection(SynthEngine& engine, SpectrumTarget& target) {
    EditGuard::ReadScope read(engine.editGuard());  // no other thread replaces the tree meanwhile
    Generator& g = liveGenerator(engine);
    int32_t removed = 0;
    {
        EditGuard::EditScope scope(engine.editGuard());
        Modulator& m = target.resolve(g);
        const int32_t keep = std::max(target.breakpoint, 0);
        for (int32_t i = m.breakpointCount() - 1; i > keep; --i)
            if (m.removeBreakpoint(i)) ++removed;
        engine.generatorChanged();
    }
    target.resolve(g);
    return removed;
}

int32_t addChildModulator(SynthEngine& engine, SpectrumTarget& target, const std::string& name, int32_t mode,
                          bool enabled) {
    Generator& g = liveGenerator(engine);
    int32_t index = 0;
    {
        EditGuard::EditScope scope(engine.editGuard());
        Modulator& m = target.resolve(g);
        m.addChild(name, mode, enabled);
        index = m.childCount() - 1;
        engine.generatorChanged();
    }
    return index;
}

bool removeChildModulator(SynthEngine& engine, SpectrumTarget& target, int32_t index) {
    EditGuard::ReadScope read(engine.editGuard());  // no other thread replaces the tree meanwhile
    Generator& g = liveGenerator(engine);
    ModulatorLink taken;  // destroyed after the edit scope, with its whole subtree
    {
        EditGuard::EditScope scope(engine.editGuard());
        Modulator& m = target.resolve(g);
        if (index < 0 || index >= m.childCount()) return false;
        taken = std::move(m.children[index]);
        m.children.erase(m.children.begin() + index);
        engine.generatorChanged();
    }
    return true;
}

bool swapChildModulators(SynthEngine& engine, SpectrumTarget& target, int32_t a, int32_t b) {
    Generator& g = liveGenerator(engine);
    EditGuard::EditScope scope(engine.editGuard());
    Modulator& m = target.resolve(g);
    if (a < 0 || b < 0 || a >= m.childCount() || b >= m.childCount() || a == b) return false;
    std::swap(m.children[a], m.children[b]);
    engine.generatorChanged();
    return true;
}

}  // namespace quenvale::editor
