// Drives a plug-in like a host: loads it, feeds it a MIDI file block by block and writes what it plays.
#pragma once

#include <string>

#include "plugin_library.h"
#include "render_loop.h"
#include "render_options.h"

namespace quenvale::render {

// False with a message in error for anything that stops the render (unreadable input, a plug-in that does
// not load or refuses the chunk, an unwritable output).
bool renderMidiFile(const RenderOptions& options, const ProgressFunction& progress, RenderSummary& summary,
                    std::string& error);

// The same with a plug-in entry point already at hand (options.pluginPath is then only used in messages).
bool renderWithPlugin(host::EntryFunction entry, const RenderOptions& options,
                      const ProgressFunction& progress, RenderSummary& summary, std::string& error);

}  // namespace quenvale::render
