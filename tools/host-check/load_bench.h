// The whole plug-in under full load: 32 voices of 512 partials, timed through processReplacing.
#pragma once

#include <string>

#include "plugin_library.h"

namespace quenvale::hostcheck {

struct BenchResult {
    double audioSeconds = 0.0;
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0;  // processor time of the rendering thread: steadier on a busy machine
    // The real-time factor of the fastest half second: on a shared machine whose neighbours come and go,
    // the figure that repeats from run to run and compares builds fairly.
    double bestRoundFactor = 0.0;
    // Processor seconds of rendering per second of audio (1.0 takes the whole real-time budget of one core).
    double realTimeFactor() const { return audioSeconds > 0.0 ? cpuSeconds / audioSeconds : 0.0; }
};

// Gives the plug-in, as a host chunk, a sound of 512 partials whose amplitudes fall like a saw's, with
// "Gen1 Ratio" 0.75 so that notes 0 … 31 keep every partial below 20 kHz; holds those 32 notes and
// times `seconds` of audio at 44100 Hz in blocks of 512 (after one block that settles the ramps), in
// rounds of about half a second.
// False with a message in error when the plug-in does not start or refuses the chunk.
bool benchFullLoad(host::EntryFunction entry, double seconds, BenchResult& result, std::string& error);

}  // namespace quenvale::hostcheck
