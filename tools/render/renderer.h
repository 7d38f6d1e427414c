// Drives a plug-in like a host: loads it, feeds it a MIDI file block by block and writes what it plays.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "plugin_library.h"
#include "render_options.h"

namespace quenvale::render {

struct RenderSummary {
    int64_t frames = 0;
    double seconds = 0.0;      // length of the output
    double wallSeconds = 0.0;  // time the rendering took
    float peak = 0.0f;         // largest absolute sample of either channel
};

// Called after each block with the fraction done (0 … 1).
using ProgressFunction = std::function<void(double fraction)>;

// False with a message in error for anything that stops the render (unreadable input, a plug-in that does
// not load or refuses the chunk, an unwritable output).
bool renderMidiFile(const RenderOptions& options, const ProgressFunction& progress, RenderSummary& summary,
                    std::string& error);

// The same with a plug-in entry point already at hand (options.pluginPath is then only used in messages).
bool renderWithPlugin(host::EntryFunction entry, const RenderOptions& options,
                      const ProgressFunction& progress, RenderSummary& summary, std::string& error);

}  // namespace quenvale::render
