// Evaluating a spectrum modulator for one voice: breakpoints, children and the modifier chain.
#include "engine/spectrum/modulator_evaluation.h"

#include <algorithm>
#include <cstring>

#include "engine/curve/curve_shift.h"
#include "engine/spectrum/key_mapping.h"
#include "engine/spectrum/partial_kernels.h"
#include "engine/spectrum/spectrum_kernels.h"
#include "engine/spectrum/spectrum_modifiers.h"

namespace quenvale {
namespace {

void clearRange(float* values, int32_t from, int32_t to) noexcept {
    if (to > from) std::memset(values + from, 0, static_cast<size_t>(to - from) * sizeof(float));
}

// The children take part only while the voice's state tree mirrors the modulator's links.
bool childrenMatch(const Modulator& m, const ModulatorState& s, int32_t count) noexcept {
    if (m.children.empty() || m.children.size() != s.children.size()) return false;
    for (const ModulatorState& child : s.children)
        if (child.output.size() < count) return false;
    return true;
}

struct Position {
    int32_t index;
    float elapsed;  // seconds since that breakpoint
};

// Finds the breakpoint the time has reached and applies the loop rule (which may move the time back).
Position findBreakpoint(const Modulator& m, ModulatorState& s) noexcept {
    const SpectrumBreakpoint* bps = m.breakpoints.data();
    const int32_t count = m.breakpointCount();
    int32_t i = -1;
    float acc = 0.0f;
    for (int32_t b = 0; b < count; ++b) {
        const float next = acc + bps[b].distance;
        if (next > s.time) break;
        i = b;
        acc = next;
    }
    // Reaching the loop end before release jumps back to the loop start. Without a loop (end −1) the
    // same rule moves a time before the first breakpoint onto the first breakpoint.
    if (i == m.loopEnd && !s.released) {
        i = (m.loopStart < 0 || m.loopStart >= count) ? 0 : m.loopStart;
        float t = 0.0f;
        for (int32_t b = 0; b <= i; ++b) t += bps[b].distance;
        s.time = t;
        return {i, 0.0f};
    }
    // Before the first breakpoint with a loop set, or after release: hold the first breakpoint.
    if (i < 0) return {0, 0.0f};
    return {i, s.time - acc};
}

// Evaluates the enabled children into their states' outputs. The one combining child, when there is
// exactly one, is returned for the fused first pass; with more, all of them are combined here, in link
// order, into work (already holding the breakpoint interpolation).
struct FusedChild {
    int32_t mode = kFrontNoChild;
    const float* values = nullptr;
};

FusedChild evaluateChildren(Modulator& m, ModulatorState& s, float f0, int32_t count) noexcept {
    FusedChild fused;
    if (!childrenMatch(m, s, count)) return fused;
    int32_t combining = 0;
    const int32_t links = m.childCount();
    for (int32_t j = 0; j < links; ++j) {
        ModulatorLink& link = m.children[j];
        if (!link.enabled || !link.child) continue;
        // A child reads and writes only its own modulator's curves and its own state, so evaluating all
        // of them before the parent's pass changes no value.
        evaluateModulator(*link.child, s.children[j], f0, count);
        if (link.mode == kCombineMultiply || link.mode == kCombineAdd) {
            ++combining;
            fused.mode = link.mode == kCombineMultiply ? kFrontMultiply : kFrontAdd;
            fused.values = s.children[j].output.data();
        }
    }
    if (combining > 1) fused.mode = -1;  // several: combined one pass each
    return fused;
}

void combineChildren(const Modulator& m, const ModulatorState& s, float* work, int32_t count) noexcept {
    const int32_t links = m.childCount();
    for (int32_t j = 0; j < links; ++j) {
        const ModulatorLink& link = m.children[j];
        if (!link.enabled || !link.child) continue;
        const float* child = s.children[j].output.data();
        if (link.mode == kCombineMultiply) {
            kernels::multiply(work, child, count);
        } else if (link.mode == kCombineAdd) {
            kernels::add(work, child, count);
        }
    }
}

// Shifts the work curve (the scratch) into the output. The curves hold 512 values while only `count`
// are evaluated: the scratch's tail is set to what a curve of `count` values would read past its end,
// so the result equals a shift over exactly `count` partials.
void shiftInto(Modulator& m, ModulatorState& s, int32_t count) noexcept {
    float* work = m.scratch.data();
    const int32_t size = std::min(m.scratch.size(), s.output.size());
    if (count < size) {
        const bool readsLast = m.shiftRepeatBorder && s.shift < 0.0f;
        std::fill(work + count, work + size, readsLast ? work[count - 1] : 0.0f);
    }
    curveShift(m.scratch, s.output, s.shift, m.shiftRepeatBorder);
}

}  // namespace

void evaluateModulator(Modulator& m, ModulatorState& s, float f0, int32_t partialCount) noexcept {
    float* out = s.output.data();
    const int32_t size = std::min(s.output.size(), m.scratch.size());
    const int32_t count = std::clamp(partialCount, 0, size) & ~(kPartialsPerGroup - 1);
    int32_t written = count;  // output values this evaluation touched

    if (m.breakpoints.empty() || count == 0) {  // an empty spectrum
        clearRange(out, 0, std::max(count, s.evaluatedCount));
        s.evaluatedCount = 0;
        return;
    }

    const float keyValue = evaluateCurve(m.keyMapping, keyPosition(f0));
    const Position at = findBreakpoint(m, s);
    const SpectrumBreakpoint& bp = m.breakpoints[at.index];
    if (bp.values.size() < count || bp.slopes.size() < count) {  // a breakpoint built short: play silence
        clearRange(out, 0, std::max(count, s.evaluatedCount));
        s.evaluatedCount = 0;
        return;
    }

    const bool shifting = s.shift != 0.0f;  // −0 counts as no shift
    float* work = shifting ? m.scratch.data() : out;
    const float gainKey = s.gain * keyValue;
    const FusedChild child = evaluateChildren(m, s, f0, count);
    // Without shift and modifier stages the gain joins the first pass, which then does everything.
    const bool modifiers = hasModifierStages(m);
    const bool gainFirst = !shifting && !modifiers;

    if (child.mode >= 0) {
        const FrontPass pass{work,   bp.values.data(), bp.slopes.data(), bp.level, at.elapsed,
                             child.values, s.offset, gainKey, count};
        spectrumKernels().front[child.mode][gainFirst ? 1 : 0](pass);
    } else {
        kernels::interpolate(work, bp.values.data(), bp.slopes.data(), bp.level, at.elapsed, count);
        combineChildren(m, s, work, count);
        kernels::addScalar(work, s.offset, count);
        if (gainFirst) kernels::scale(work, gainKey, count);
    }

    if (shifting) {
        shiftInto(m, s, count);
        work = out;
        written = size;
    }
    if (shifting || modifiers) applyModifierStages(m, s, work, gainKey, count);

    clearRange(out, count, std::max(written, s.evaluatedCount));
    s.evaluatedCount = count;
}

}  // namespace quenvale
