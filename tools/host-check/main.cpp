// quenvale-host-check: loads a built plug-in (the .so through dlopen, the Windows DLL through LoadLibrary)
// and checks it as a host would: its record and capability answers, renders compared bit for bit with
// reference renders, and the real-time factor of a full load.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/simd/simd_path.h"
#include "load_bench.h"
#include "misaligned_calls.h"
#include "plugin_library.h"
#include "record_check.h"
#include "render_compare.h"
#include "render_options.h"

namespace {

using namespace quenvale;

constexpr const char* kUsage =
    "Usage: quenvale-host-check [options] PLUGIN\n"
    "\n"
    "Loads PLUGIN (QuenvaleVST.so or QuenvaleVST.dll) through VSTPluginMain and checks its record and\n"
    "capability answers; with --midi, renders the file with each program and compares every sample with\n"
    "the reference renders; with --bench, times the full load (32 voices of 512 partials).\n"
    "The vector path is the widest the processor has, or the one QUENVALE_SIMD names (scalar, sse2, avx2,\n"
    "avx512) when that is narrower.\n"
    "\n"
    "Options:\n"
    "  --midi FILE        the MIDI file to render\n"
    "  --bank FILE        bank file (.qpb) given to the plug-in before each render\n"
    "  --reference DIR    reference renders DIR/program-N.wav (quenvale-render --format float, same "
    "options)\n"
    "  --programs LIST    comma-separated program numbers to render (default 0)\n"
    "  --length SECONDS   render only the first SECONDS (default: the whole song and 2 s)\n"
    "  --block FRAMES     frames per processing block (default 512)\n"
    "  --bench SECONDS    time SECONDS of audio of the full load\n";

struct Options {
    std::string plugin;
    render::RenderOptions render;
    std::string referenceDir;
    std::vector<int> programs{0};
    double benchSeconds = 0.0;
};

bool parseNumber(const char* text, double low, double high, double& value) {
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(parsed >= low && parsed <= high)) return false;
    value = parsed;
    return true;
}

bool parsePrograms(const std::string& text, std::vector<int>& programs) {
    programs.clear();
    size_t at = 0;
    while (at <= text.size()) {
        const size_t comma = text.find(',', at);
        const std::string item = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        double value = 0.0;
        if (!parseNumber(item.c_str(), 0, 127, value) || value != static_cast<int>(value)) return false;
        programs.push_back(static_cast<int>(value));
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return !programs.empty();
}

bool parse(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const char* value = hasValue ? argv[i + 1] : "";
        double number = 0.0;
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0 && !hasValue) {
            error = "option " + arg + " needs a value";
            return false;
        }
        if (arg == "--midi") {
            options.render.midiPath = value;
        } else if (arg == "--bank") {
            options.render.bankPath = value;
        } else if (arg == "--reference") {
            options.referenceDir = value;
        } else if (arg == "--programs") {
            if (!parsePrograms(value, options.programs)) {
                error = "--programs wants program numbers 0-127 separated by commas";
                return false;
            }
        } else if (arg == "--length") {
            if (!parseNumber(value, 0.001, 36000, options.render.lengthSeconds)) {
                error = "--length wants seconds from 0.001 to 36000";
                return false;
            }
        } else if (arg == "--block") {
            if (!parseNumber(value, 1, 65536, number) || number != static_cast<int>(number)) {
                error = "--block wants a block size from 1 to 65536 frames";
                return false;
            }
            options.render.blockSize = static_cast<int>(number);
        } else if (arg == "--bench") {
            if (!parseNumber(value, 0.01, 3600, options.benchSeconds)) {
                error = "--bench wants seconds from 0.01 to 3600";
                return false;
            }
        } else if (arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (options.plugin.empty()) {
            options.plugin = arg;
            continue;
        } else {
            error = "more than one plug-in given";
            return false;
        }
        ++i;
    }
    if (options.plugin.empty()) {
        error = "no plug-in given";
        return false;
    }
    if (!options.render.midiPath.empty() && options.referenceDir.empty()) {
        error = "--midi needs --reference";
        return false;
    }
    options.render.pluginPath = options.plugin;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (!parse(argc, argv, options, error)) {
        std::fprintf(stderr, "quenvale-host-check: %s\n\n%s", error.c_str(), kUsage);
        return 2;
    }
    const auto library = host::PluginLibrary::open(options.plugin, error);
    if (!library) {
        std::fprintf(stderr, "quenvale-host-check: %s\n", error.c_str());
        return 1;
    }
    // The plug-in makes the same choice from the same processor and environment.
    const char* path = simd::simdPathName(simd::bestSimdPath());
    std::printf("%s: %d-bit, vector path %s\n", options.plugin.c_str(), static_cast<int>(8 * sizeof(void*)),
                path);

    int failures = 0;
    const std::vector<std::string> problems = hostcheck::checkRecord(library->entry());
    for (const std::string& p : problems) std::printf("FAIL record: %s\n", p.c_str());
    failures += static_cast<int>(problems.size());
    if (problems.empty()) std::printf("record and capability answers as published\n");

    if (hostcheck::misalignedCallsApply()) {
        const std::vector<std::string> offStack = hostcheck::checkMisalignedCalls(library->entry());
        for (const std::string& p : offStack) std::printf("FAIL %s\n", p.c_str());
        failures += static_cast<int>(offStack.size());
        if (offStack.empty())
            std::printf(
                "every entry called with the stack 4, 8 and 12 bytes off alignment plays as aligned\n");
    }

    if (!options.render.midiPath.empty()) {
        double audio = 0.0, wall = 0.0;
        for (const auto& r : hostcheck::compareRenders(library->entry(), options.render, options.programs,
                                                       options.referenceDir)) {
            if (r.identical) {
                std::printf("program %d: %.2f s identical to the reference\n", r.program, r.seconds);
            } else {
                std::printf("FAIL program %d: %s\n", r.program, r.detail.c_str());
                ++failures;
            }
            audio += r.seconds;
            wall += r.wallSeconds;
        }
        if (audio > 0.0)
            std::printf("renders: %.2f s of audio in %.2f s (rtf %.4f, %s)\n", audio, wall, wall / audio,
                        path);
    }

    if (options.benchSeconds > 0.0) {
        hostcheck::BenchResult bench;
        if (!hostcheck::benchFullLoad(library->entry(), options.benchSeconds, bench, error)) {
            std::printf("FAIL bench: %s\n", error.c_str());
            ++failures;
        } else {
            std::printf(
                "full load 32 x 512 partials, %s: %.2f s of audio, %.3f s processor time (%.3f s wall), "
                "rtf %.4f (fastest half second %.4f)\n",
                path, bench.audioSeconds, bench.cpuSeconds, bench.wallSeconds, bench.realTimeFactor(),
                bench.bestRoundFactor);
        }
    }
    if (failures == 0)
        std::printf("host check passed\n");
    else
        std::printf("host check FAILED: %d problem(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
