// Structural edits of the live generator's modulators for the spectrum editor: breakpoints inserted,
// moved and removed, child modulators added, swapped and removed. Structural changes take the engine's
// edit scope and rebuild the voices' spectrum states inside it; moves are plain stores.
//
// [editor thread]
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/panels/spectrum/spectrum_target.h"

namespace quenvale {
class SynthEngine;
}

namespace quenvale::editor {

Generator& liveGenerator(SynthEngine& engine) noexcept;

// The times of the breakpoints from note start (running sums of their distances).
std::vector<float> breakpointTimes(const Modulator& modulator);

// Inserts a breakpoint at `time` seconds after note start into the target's modulator, holding the
// values of the breakpoint before it (the first one's when it goes first); the breakpoints after it
// keep their times. Selects it and returns its index.
int32_t insertBreakpointAt(SynthEngine& engine, SpectrumTarget& target, float time);
// Moves breakpoint index to start `time` seconds after note start (not before its predecessor);
// the one after it keeps its time.
void moveBreakpoint(SynthEngine& engine, SpectrumTarget& target, int32_t index, float time);
// Removes breakpoint index when the modulator keeps at least one.
bool removeBreakpoint(SynthEngine& engine, SpectrumTarget& target, int32_t index);
// "Remove All Breakpoints after Selection": from the last down to the one after the selected one
// (with no selection, all but the first). Returns how many went.
int32_t removeBreakpointsAfterSelection(SynthEngine& engine, SpectrumTarget& target);

// A new child of the edited modulator; returns its link index.
int32_t addChildModulator(SynthEngine& engine, SpectrumTarget& target, const std::string& name, int32_t mode,
                          bool enabled);
bool removeChildModulator(SynthEngine& engine, SpectrumTarget& target, int32_t index);
// Exchanges links a and b of the edited modulator.
bool swapChildModulators(SynthEngine& engine, SpectrumTarget& target, int32_t a, int32_t b);

}  // namespace quenvale::editor
