// The host's render loop: a MIDI file fed to a plug-in block by block, each block handed to a sink.
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

// Receives each rendered block as left and right samples; false with a message in error stops the render.
using BlockSink = std::function<bool(const float* left, const float* right, int frames, std::string& error)>;

// Starts an instance from entry, gives it the state of options.chunkPath or options.bankPath, selects
// options.program, and plays options.midiPath through it in blocks of options.blockSize (until the
// song's end plus options.tailSeconds, or for options.lengthSeconds when that is set). The output path
// and format of options are not used. False with a message in error for anything that stops the render.
bool renderToSink(host::EntryFunction entry, const RenderOptions& options, const BlockSink& sink,
                  const ProgressFunction& progress, RenderSummary& summary, std::string& error);

}  // namespace quenvale::render
