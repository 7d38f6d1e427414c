// Which curve the spectrum editor edits: a property view, a modulator reached from that view's
// top-level modulator through child links, and one of its breakpoints. Reads and writes the curve of
// the live generator.
//
// [editor thread] Value writes are plain float stores into a breakpoint that voices may be playing
// (heard at the next control tick); structural changes (breakpoints, children) go through
// SpectrumEdits under the engine's edit scope.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/curve/partial_curve.h"
#include "engine/spectrum/generator.h"

namespace quenvale::editor {

// The views in button order, and the property each edits.
inline constexpr int kViewCount = 4;
inline constexpr const char* kViewNames[kViewCount] = {"Amp", "Pan", "Detune", "Phase"};
inline constexpr SpectrumProperty kViewProperties[kViewCount] = {kSpectrumAmp, kSpectrumPan, kSpectrumDetune,
                                                                 kSpectrumPhase};

struct SpectrumTarget {
    int32_t view = 0;           // 0 … 3: "Amp", "Pan", "Detune", "Phase"
    std::vector<int32_t> path;  // child link indices from the view's top-level modulator
    int32_t breakpoint = 0;     // selected breakpoint (−1 when the modulator has none)

    // The edited modulator. The path is first cut back to links that exist and the breakpoint clamped
    // to the list, so a target survives program loads and removals.
    Modulator& resolve(Generator& generator);
    // The parent of the edited modulator, null at a top-level modulator.
    Modulator* parent(Generator& generator);
    // "Amp / Re-Synth / …": the names along the path.
    std::string pathText(Generator& generator);

    // The first P (the generator's count) values of the selected breakpoint into out (resized to P);
    // zeros when the modulator has no breakpoint. False then.
    bool read(Generator& generator, PartialCurve& out);
    // Stores values (its first min(P, size) entries) into the selected breakpoint, in place, and
    // recomputes the slopes around it. False when there is no breakpoint.
    bool write(Generator& generator, const PartialCurve& values);
    // One partial of the selected breakpoint.
    bool writePartial(Generator& generator, int32_t partial, float value);
};

}  // namespace quenvale::editor
