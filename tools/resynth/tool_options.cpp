// Parsing of quenvale-resynth's command line.
#include "tool_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>

namespace quenvale::tool {

const char* const kUsage =
    "usage: quenvale-resynth INPUT --fundamental HZ [--distance S] [--amp] [--detune] [--phase] [--pan]\n"
    "                        [--layer] (--qgd OUT.qgd [--partials N] | --bank IN.qpb --program N --out "
    "OUT.qpb)\n"
    "\n"
    "Analyses a recorded note (any format libsndfile reads, any rate, any channel count) into the\n"
    "spectrum modulators of a generator.\n"
    "  --fundamental HZ  fundamental of the recorded note, 10 ... 10000 Hz\n"
    "  --distance S      time between analysis frames, 0.01 ... 10 s (default 0.1)\n"
    "  --amp --detune --phase --pan  the properties to analyse (default: all four)\n"
    "  --layer           add a \"Re-Synth\" layer instead of replacing the modulators' breakpoints\n"
    "  --qgd OUT.qgd     analyse into a fresh generator and save it as a generator data file\n"
    "  --partials N      partial count of that generator: 64, 128, 256 or 512 (default 512)\n"
    "  --bank IN.qpb --program N --out OUT.qpb\n"
    "                    analyse into the generator of program N (0 ... 127) of a bank, write the bank\n";

namespace {

bool parseFloat(const char* text, float& value) {
    if (text == nullptr || *text == '\0') return false;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(v)) return false;
    value = static_cast<float>(v);
    return true;
}

bool parseInt(const char* text, int32_t& value) {
    if (text == nullptr || *text == '\0') return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (*end != '\0' || errno != 0 || v < -2147483647L || v > 2147483647L) return false;
    value = static_cast<int32_t>(v);
    return true;
}

}  // namespace

bool parseToolOptions(int argc, const char* const* argv, ResynthToolOptions& options, std::string& error) {
    options = ResynthToolOptions{};
    options.analysis.amp = options.analysis.detune = options.analysis.phase = options.analysis.pan = false;
    std::set<std::string> seen;
    bool haveFundamental = false, havePartials = false;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            if (!seen.insert(arg).second) {
                error = "option " + arg + " given twice";
                return false;
            }
            auto value = [&](const char*& out) {
                if (i + 1 >= argc) {
                    error = "option " + arg + " needs a value";
                    return false;
                }
                out = argv[++i];
                return true;
            };
            const char* v = nullptr;
            if (arg == "--help") {
                options.help = true;
            } else if (arg == "--amp") {
                options.analysis.amp = true;
            } else if (arg == "--detune") {
                options.analysis.detune = true;
            } else if (arg == "--phase") {
                options.analysis.phase = true;
            } else if (arg == "--pan") {
                options.analysis.pan = true;
            } else if (arg == "--layer") {
                options.analysis.additiveLayer = true;
            } else if (arg == "--fundamental") {
                if (!value(v)) return false;
                if (!parseFloat(v, options.analysis.fundamental)) {
                    error = std::string("--fundamental: not a number: ") + v;
                    return false;
                }
                haveFundamental = true;
            } else if (arg == "--distance") {
                if (!value(v)) return false;
                if (!parseFloat(v, options.analysis.samplingDistance)) {
                    error = std::string("--distance: not a number: ") + v;
                    return false;
                }
            } else if (arg == "--qgd") {
                if (!value(v)) return false;
                options.qgdPath = v;
            } else if (arg == "--partials") {
                if (!value(v)) return false;
                if (!parseInt(v, options.partials) || (options.partials != 64 && options.partials != 128 &&
                                                       options.partials != 256 && options.partials != 512)) {
                    error = std::string("--partials must be 64, 128, 256 or 512, not ") + v;
                    return false;
                }
                havePartials = true;
            } else if (arg == "--bank") {
                if (!value(v)) return false;
                options.bankPath = v;
            } else if (arg == "--program") {
                if (!value(v)) return false;
                if (!parseInt(v, options.program) || options.program < 0 || options.program > 127) {
                    error = std::string("--program must be a program number 0 ... 127, not ") + v;
                    return false;
                }
            } else if (arg == "--out") {
                if (!value(v)) return false;
                options.outPath = v;
            } else {
                error = "unknown option " + arg;
                return false;
            }
        } else if (options.input.empty()) {
            options.input = arg;
        } else {
            error = "more than one input file: " + options.input + ", " + arg;
            return false;
        }
    }
    if (options.help) return true;

    ResynthOptions& a = options.analysis;
    if (!a.amp && !a.detune && !a.phase && !a.pan) a.amp = a.detune = a.phase = a.pan = true;

    if (options.input.empty()) {
        error = "no input file";
        return false;
    }
    if (!haveFundamental) {
        error = "--fundamental is required";
        return false;
    }
    if (const char* rangeError = resynthOptionsError(a)) {
        error = rangeError;
        return false;
    }
    const bool qgd = !options.qgdPath.empty();
    const bool bank = !options.bankPath.empty() || options.program >= 0 || !options.outPath.empty();
    if (qgd == bank) {
        error = qgd ? "--qgd cannot be combined with --bank, --program or --out"
                    : "give either --qgd OUT.qgd or --bank IN.qpb --program N --out OUT.qpb";
        return false;
    }
    if (bank && (options.bankPath.empty() || options.program < 0 || options.outPath.empty())) {
        error = "--bank needs --program N and --out OUT.qpb as well";
        return false;
    }
    if (bank && havePartials) {
        error = "--partials applies to --qgd only (a bank's program keeps its partial count)";
        return false;
    }
    return true;
}

}  // namespace quenvale::tool
