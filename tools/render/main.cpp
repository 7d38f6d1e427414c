// quenvale-render: renders a Standard MIDI File through a VST 2 instrument into a WAV file.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "render_options.h"
#include "renderer.h"

namespace {

void drawProgress(double fraction) {
    static int shown = -1;
    const int percent = static_cast<int>(fraction * 100.0);
    if (percent == shown) return;
    shown = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\rrendering [%.*s%*s] %3d%%", filled, "########################################",
                 kWidth - filled, "", percent);
    if (percent >= 100) std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quenvale::render;
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quenvale-render: %s\n\n%s", error.c_str(), usageText());
        return 2;
    }
    if (options.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    try {
        const bool showProgress = !options.quiet && ::isatty(STDERR_FILENO) != 0;
        RenderSummary summary;
        if (!renderMidiFile(options, showProgress ? ProgressFunction(drawProgress) : ProgressFunction(),
                            summary, error)) {
            std::fprintf(stderr, "quenvale-render: %s\n", error.c_str());
            return 1;
        }
        const double speed = summary.wallSeconds > 0.0 ? summary.seconds / summary.wallSeconds : 0.0;
        char peak[32];
        if (summary.peak > 0.0f) {
            std::snprintf(peak, sizeof peak, "%.1f dBFS",
                          20.0 * std::log10(static_cast<double>(summary.peak)));
        } else {
            std::snprintf(peak, sizeof peak, "-inf dBFS (silence)");
        }
        std::printf("%s: %.2f s at %d Hz, rendered in %.2f s (%.1fx real time), peak %s\n",
                    options.outputPath.c_str(), summary.seconds, options.sampleRate, summary.wallSeconds,
                    speed, peak);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quenvale-render: %s\n", e.what());
        return 1;
    }
}
