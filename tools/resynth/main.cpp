// quenvale-resynth: analyses a recorded note into a generator data file or a program of a bank.
#include <cstdio>
#include <string>

#include "audio_input.h"
#include "engine/spectrum/generator.h"
#include "output_store.h"
#include "progress_bar.h"
#include "resynth/resynthesis.h"
#include "temp_files.h"
#include "tool_options.h"

using namespace quenvale;
using namespace quenvale::tool;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "quenvale-resynth: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    ResynthToolOptions options;
    std::string error;
    if (!parseToolOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quenvale-resynth: %s\n\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    // The generator to analyse into: a fresh one, or a program's from the bank (read before the
    // long analysis, so a bad bank is reported at once).
    Generator generator;
    BankSession bank;
    const bool toBank = !options.bankPath.empty();
    if (toBank) {
        if (!bank.open(options.bankPath, options.program, generator, error)) return fail(error);
    } else {
        generator.setPartialCount(options.partials);
    }

    TempFile converted("", ".wav");
    if (converted.path().empty()) return fail("cannot create a temporary file");
    ConversionInfo conversion;
    if (!convertToAnalysisWav(options.input, converted.path(), conversion, error)) return fail(error);

    ProgressBar bar;
    ResynthReport report;
    const bool ok = resynthesize(generator, converted.path().c_str(), options.analysis, &report,
                                 [&bar](int32_t done, int32_t total) { bar.update(done, total); });
    bar.finish();
    if (!ok) return fail(report.error.empty() ? "re-synthesis failed" : report.error);

    const std::string& target = toBank ? options.outPath : options.qgdPath;
    TempFile staged(target, "");
    if (staged.path().empty()) return fail("cannot create a temporary file beside " + target);
    const bool stored = toBank ? bank.store(generator, staged.path(), error)
                               : storeGeneratorFile(generator, staged.path(), error);
    if (!stored || !staged.commitTo(target, error)) return fail(error);

    std::printf("%s: %lld frames at %d Hz, %d channel(s)\n", options.input.c_str(),
                static_cast<long long>(conversion.sourceFrames), conversion.sourceRate,
                conversion.sourceChannels);
    std::printf(
        "analysed %zu frames (fundamental on bin %d) in %d analysis frames; %d breakpoints written to %s\n",
        report.analysedFrames, report.fundamentalBin, report.frameCount, report.breakpointsWritten,
        target.c_str());
    return 0;
}
