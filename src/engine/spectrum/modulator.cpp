// Creating and editing spectrum modulators.
#include "engine/spectrum/modulator.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/runtime_random.h"
#include "engine/spectrum/key_mapping.h"
#include "engine/spectrum/spectrum_tables.h"

namespace quenvale {
namespace {

// A breakpoint that follows an inserted one keeps at least this distance.
constexpr float kMinFollowingDistance = 0.02f;

ModParam withBase(float base) noexcept {
    ModParam p;
    p.base = base;
    return p;
}

}  // namespace

Modulator::Modulator(int32_t count, std::string modulatorName)
    : partialCount(count),
      name(std::move(modulatorName)),
      gain(withBase(1.0f)),
      offset(withBase(0.0f)),
      shift(withBase(0.0f)),
      cutoff(withBase(0.5f)),
      resonance(withBase(0.5f)),
      dryWet(withBase(1.0f)),
      keyMapping(defaultKeyMapping()),
      scratch(kMaxPartials),
      randomPhaseCurve(kMaxPartials) {
    buildSpectrumTables();
    breakpoints.emplace_back(0.0f, 1.0f);
    for (int32_t k = 0; k < kMaxPartials; ++k)
        randomPhaseCurve[k] = static_cast<float>(runtimeRandom()) / 32767.0f;
}

Modulator::~Modulator() = default;
Modulator::Modulator(Modulator&&) noexcept = default;
Modulator& Modulator::operator=(Modulator&&) noexcept = default;

void Modulator::updateSlopesAt(int32_t index) noexcept {
    const int32_t count = breakpointCount();
    if (index < 0 || index >= count) return;
    updateSlopes(breakpoints[index], index + 1 < count ? &breakpoints[index + 1] : nullptr);
}

bool Modulator::insertBreakpoint(int32_t index, float distance, float level, bool keepFollowingTimes) {
    if (index < 0 || index > breakpointCount()) return false;
    breakpoints.insert(breakpoints.begin() + index, SpectrumBreakpoint(distance, level));
    if (keepFollowingTimes && index + 1 < breakpointCount()) {
        SpectrumBreakpoint& following = breakpoints[index + 1];
        following.distance = std::max(following.distance - distance, kMinFollowingDistance);
    }
    updateSlopesAt(index - 1);
    updateSlopesAt(index);
    updateSlopesAt(index + 1);
    return true;
}

bool Modulator::setBreakpoint(int32_t index, float distance, float level) noexcept {
    if (index < 0 || index >= breakpointCount()) return false;
    breakpoints[index].distance = distance;
    breakpoints[index].level = level;
    updateSlopesAt(index - 1);
    updateSlopesAt(index);
    return true;
}

bool Modulator::setBreakpointValues(int32_t index, const PartialCurve& values) noexcept {
    if (index < 0 || index >= breakpointCount()) return false;
    PartialCurve& target = breakpoints[index].values;
    if (&target == &values) {  // already in place
        updateSlopesAt(index - 1);
        updateSlopesAt(index);
        return true;
    }
    const int32_t n = std::clamp(values.size(), 0, target.size());
    target.clear();
    if (n > 0) std::memcpy(target.data(), values.data(), static_cast<size_t>(n) * sizeof(float));
    updateSlopesAt(index - 1);
    updateSlopesAt(index);
    return true;
}

bool Modulator::removeBreakpoint(int32_t index) {
    if (index < 0 || index >= breakpointCount()) return false;
    breakpoints.erase(breakpoints.begin() + index);
    updateSlopesAt(index - 1);
    return true;
}

void Modulator::removeAllBreakpoints() noexcept {
    breakpoints.clear();
}

Modulator& Modulator::addChild(std::string childName, int32_t mode, bool enabled) {
    auto child = std::make_unique<Modulator>(partialCount, std::move(childName));
    Modulator& result = *child;
    children.push_back(ModulatorLink{enabled, mode, std::move(child)});
    return result;
}

bool Modulator::removeChild(int32_t index) {
    if (index < 0 || index >= childCount()) return false;
    children.erase(children.begin() + index);
    return true;
}

void Modulator::removeAllChildren() noexcept {
    children.clear();
}

void Modulator::setPartialCount(int32_t count) noexcept {
    partialCount = count;
    for (ModulatorLink& link : children)
        if (link.child) link.child->setPartialCount(count);
}

}  // namespace quenvale
