// Command line of quenvale-resynth: what to analyse, how, and where the result goes.
#pragma once

#include <cstdint>
#include <string>

#include "resynth/resynth_options.h"

namespace quenvale::tool {

struct ResynthToolOptions {
    std::string input;
    ResynthOptions analysis;  // property flags, layer flag, fundamental, sampling distance
    // Either a fresh generator saved as a generator data file …
    std::string qgdPath;
    int32_t partials = 512;
    // … or a program of a bank, written back as a bank.
    std::string bankPath;
    int32_t program = -1;
    std::string outPath;
    bool help = false;
};

// The usage text printed by --help and after a command-line error.
extern const char* const kUsage;

// Parses argv[1 …]. False with a one-line message in `error` for an unknown or repeated option, a
// missing or malformed value, values outside their ranges, or a missing or mixed output mode.
// Without any of --amp, --detune, --phase, --pan all four are analysed.
bool parseToolOptions(int argc, const char* const* argv, ResynthToolOptions& options, std::string& error);

}  // namespace quenvale::tool
