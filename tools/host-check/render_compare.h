// Rendering a MIDI file with each program of a bank and comparing it, bit for bit, with reference renders.
#pragma once

#include <string>
#include <vector>

#include "plugin_library.h"
#include "render_options.h"

namespace quenvale::hostcheck {

struct CompareResult {
    int program = 0;
    bool identical = false;
    std::string detail;    // where and how the renders differ, or why the render failed
    double seconds = 0.0;  // audio rendered
    double wallSeconds = 0.0;
};

// For each program: renders options (its midiPath, bankPath, blockSize, lengthSeconds …) with that
// program through entry, and compares every sample with referenceDir/program-N.wav.
std::vector<CompareResult> compareRenders(host::EntryFunction entry, const render::RenderOptions& options,
                                          const std::vector<int>& programs, const std::string& referenceDir);

}  // namespace quenvale::hostcheck
