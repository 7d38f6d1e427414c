// Resynthesis: turns a recorded note into breakpoint spectra of the generator's four modulators.
//
// A run has two halves. The analysis reads the WAV file and builds the new breakpoint lists away from
// the generator (it takes long: two 32768-point FFTs per frame). Applying them then only swaps lists
// and adds or removes layers, which is what has to happen under the engine's edit guard while the
// audio thread may be rendering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/spectrum/modulator.h"
#include "engine/spectrum/spectrum_property.h"
#include "resynth/resynth_options.h"

namespace quenvale {

struct Generator;
class EditGuard;
class SynthEngine;

// Called after each analysed frame with the frames done so far and the frame count of the run.
using ResynthProgress = std::function<void(int32_t done, int32_t total)>;

// The figures of one run.
struct ResynthReport {
    size_t sourceFrames = 0;         // frames read from the file
    size_t analysedFrames = 0;       // after stretching the fundamental onto its bin (frames')
    int32_t fundamentalBin = 0;      // F
    int32_t frameCount = 0;          // analysis frames: 1 + ⌊(frames' − 8192) / hop⌋, or 0 below 8192
    int32_t breakpointsWritten = 0;  // over all targets
    std::string error;               // why the run failed; empty on success
};

// The result of the analysis half, ready to be applied to a generator.
struct ResynthAnalysis {
    ResynthOptions options;
    int32_t partialCount = 0;
    bool targeted[kSpectrumPropertyCount] = {};
    std::vector<SpectrumBreakpoint> breakpoints[kSpectrumPropertyCount];  // slopes already computed
    ResynthReport report;

    // What the apply step took out of the generator: destroyed with the analysis, outside the edit.
    std::vector<SpectrumBreakpoint> replacedBreakpoints[kSpectrumPropertyCount];
    std::vector<ModulatorLink> replacedChildren[kSpectrumPropertyCount];
};

// [ui] The analysis half for a generator of `partialCount` partials. Fails, with `out.report.error` set,
// for options outside their ranges (resynthOptionsError), a partial count other than 64, 128, 256,
// 512, or a file readWav refuses. A recording shorter than 8192 stretched frames succeeds with
// empty breakpoint lists.
bool analyseResynthesis(const char* path, const ResynthOptions& options, int32_t partialCount,
                        ResynthAnalysis& out, const ResynthProgress& progress = {});

// [ui] The apply half, a structural edit (the caller holds the edit scope when voices may be
// playing). For each targeted property in the order Amp, Detune, Phase, Pan: with additiveLayer a
// new enabled "Re-Synth" layer (mode Add) receives the breakpoints; otherwise the modulator loses
// its layers and its breakpoints are replaced, its other settings kept. Consumes the breakpoint
// lists of `analysis`.
void applyResynthesis(Generator& generator, ResynthAnalysis& analysis);

// [ui] Both halves on a generator no voice is playing (tools, tests). False leaves it unchanged.
bool resynthesize(Generator& generator, const char* path, const ResynthOptions& options,
                  ResynthReport* report = nullptr, const ResynthProgress& progress = {});

// [ui] Both halves for a generator the audio thread may be playing: the analysis runs without the
// guard, the apply step inside one EditGuard::EditScope, followed (still inside it) by `applied`,
// where the engine rebuilds its voices' spectrum states. False leaves the generator unchanged.
bool resynthesize(Generator& generator, const char* path, const ResynthOptions& options, EditGuard& guard,
                  const std::function<void()>& applied, ResynthReport* report = nullptr,
                  const ResynthProgress& progress = {});

// [ui] The editor's form: into the engine's live generator (the channel's), with the apply step under
// the engine's edit guard and the voices' spectrum states rebuilt inside it. The program keeps its
// stored generator until the user stores the program.
bool resynthesize(SynthEngine& engine, const char* path, const ResynthOptions& options,
                  ResynthReport* report = nullptr, const ResynthProgress& progress = {});

}  // namespace quenvale
