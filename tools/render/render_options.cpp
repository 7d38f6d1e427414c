// Parsing and checking the command line of quenvale-render.
#include "render_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace quenvale::render {

namespace {

bool parseNumber(const std::string& text, double low, double high, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (errno != 0 || end == nullptr || *end != '\0' || !std::isfinite(parsed)) return false;
    if (parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool parseInteger(const std::string& text, int low, int high, int& value) {
    double parsed = 0.0;
    if (!parseNumber(text, low, high, parsed) || parsed != std::floor(parsed)) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

const char* usageText() noexcept {
    return "Usage: quenvale-render [options] PLUGIN.so INPUT.mid [OUTPUT.wav]\n"
           "\n"
           "Plays a Standard MIDI File (format 0 or 1) through a VST 2 instrument and writes a stereo WAV "
           "file.\n"
           "\n"
           "Options:\n"
           "  -o, --output FILE   the WAV file to write (instead of the third argument)\n"
           "  --sr RATE           sample rate in Hz (default 44100)\n"
           "  --block FRAMES      frames per processing block (default 512)\n"
           "  --tail SECONDS      time rendered after the last event (default 2)\n"
           "  --length SECONDS    render only the first SECONDS (default: the whole song and tail)\n"
           "  --program N         select program N (0-127) before rendering\n"
           "  --chunk FILE        load a host chunk into the plug-in first\n"
           "  --bank FILE         load a bank file (.qpb) into the plug-in first\n"
           "  --tempo BPM         tempo the plug-in is told by the host (default 120)\n"
           "  --format FMT        float (32-bit float, default) or pcm24 (24-bit integer)\n"
           "  -q, --quiet         no progress bar\n"
           "  -h, --help          show this text\n";
}

bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return true;
        } else if (arg == "-q" || arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "-o" || arg == "--output") {
            if (!value(options.outputPath)) return false;
        } else if (arg == "--sr") {
            if (!value(text)) return false;
            if (!parseInteger(text, 8000, 384000, options.sampleRate)) {
                error = "--sr wants a sample rate from 8000 to 384000 Hz, not '" + text + "'";
                return false;
            }
        } else if (arg == "--block") {
            if (!value(text)) return false;
            if (!parseInteger(text, 1, 65536, options.blockSize)) {
                error = "--block wants a block size from 1 to 65536 frames, not '" + text + "'";
                return false;
            }
        } else if (arg == "--tail") {
            if (!value(text)) return false;
            if (!parseNumber(text, 0.0, 3600.0, options.tailSeconds)) {
                error = "--tail wants seconds from 0 to 3600, not '" + text + "'";
                return false;
            }
        } else if (arg == "--length") {
            if (!value(text)) return false;
            if (!parseNumber(text, 0.001, 36000.0, options.lengthSeconds)) {
                error = "--length wants seconds from 0.001 to 36000, not '" + text + "'";
                return false;
            }
        } else if (arg == "--program") {
            if (!value(text)) return false;
            if (!parseInteger(text, 0, 127, options.program)) {
                error = "--program wants a program number from 0 to 127, not '" + text + "'";
                return false;
            }
        } else if (arg == "--tempo") {
            if (!value(text)) return false;
            if (!parseNumber(text, 1.0, 999.0, options.tempo)) {
                error = "--tempo wants beats per minute from 1 to 999, not '" + text + "'";
                return false;
            }
        } else if (arg == "--chunk") {
            if (!value(options.chunkPath)) return false;
        } else if (arg == "--bank") {
            if (!value(options.bankPath)) return false;
        } else if (arg == "--format") {
            if (!value(text)) return false;
            if (text == "float") {
                options.format = SampleFormat::Float32;
            } else if (text == "pcm24") {
                options.format = SampleFormat::Pcm24;
            } else {
                error = "--format wants float or pcm24, not '" + text + "'";
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (!options.chunkPath.empty() && !options.bankPath.empty()) {
        error = "give either --chunk or --bank, not both";
        return false;
    }
    if (positional.size() == 3 && options.outputPath.empty()) {
        options.outputPath = positional.back();
        positional.pop_back();
    }
    if (positional.size() != 2 || options.outputPath.empty()) {
        error = "expected PLUGIN.so INPUT.mid and an output file (OUTPUT.wav or -o FILE)";
        return false;
    }
    options.pluginPath = positional[0];
    options.midiPath = positional[1];
    return true;
}

}  // namespace quenvale::render
