// "Re-Synthesize WAV" from the spectrum editor: the options dialog, the run on a worker thread with
// cancel, the failure message, and a result identical to the command-line tool's.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "editor/controls/button.h"
#include "editor/controls/check_box.h"
#include "editor/controls/text_field.h"
#include "editor/overlays/message_box.h"
#include "editor/panels/gui_gen.h"
#include "editor/panels/spectrum/gui_spectrum.h"
#include "editor/panels/spectrum/resynth_flow.h"
#include "editor/panels/spectrum/resynth_options_dialog.h"
#include "editor/panels/spectrum/spectrum_edits.h"
#include "editor_test_support.h"
#include "persist/generator_file.h"
#include "resynth/wav_test_support.h"

namespace quenvale::editor {
namespace {

using testing::HeadlessEditor;

struct ResynthEditor : HeadlessEditor {
    GuiSpectrum& spectrum() { return static_cast<GuiGen&>(main().page(0)).spectrum(); }
    Generator& generator() { return liveGenerator(engine); }
    // Runs the editor's timer until the run has ended (at most 60 s).
    bool waitForRun() {
        for (int i = 0; i < 6000 && spectrum().resynth().running(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            tick();
        }
        return !spectrum().resynth().running();
    }
};

// A 1.5 s tone with partials 1 : 0.5 : 0.25 on analysis bins, as a 16-bit stereo 44100 Hz file.
std::string writeTestTone(const test::TempFolder& tmp, double& f0) {
    const int bin = 163;
    f0 = test::binAlignedFundamental(bin);
    return test::writeTone(tmp, "tone.wav", 66150,
                           {{bin, 0.4, 0.4}, {2 * bin, 0.2, 0.2}, {3 * bin, 0.1, 0.1}});
}

TEST(SpectrumResynthesis, FromTheWindowMatchesTheCommandLineTool) {
    test::TempFolder tmp;
    double f0 = 0.0;
    const std::string tone = writeTestTone(tmp, f0);
    const std::string qgd = tmp.file("tool.qgd");
    const int status = std::system((std::string(QUENVALE_RESYNTH_PATH) + " " + tone + " --fundamental " +
                                    std::to_string(f0) + " --partials 128 --qgd " + qgd + " >/dev/null 2>&1")
                                       .c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    Generator byTool;
    ASSERT_TRUE(loadGeneratorData(byTool, qgd.c_str()));

    ResynthEditor ed;
    ASSERT_EQ(ed.generator().partialCount, 128);
    ResynthOptions options;
    options.fundamental = static_cast<float>(std::stod(std::to_string(f0)));  // what the tool was given
    ASSERT_TRUE(ed.spectrum().resynth().start(tone, options));
    EXPECT_TRUE(ed.spectrum().resynth().running());
    ed.tick();  // the editor keeps running meanwhile
    ASSERT_TRUE(ed.waitForRun());
    EXPECT_EQ(ed.root().overlayCount(), 0u);
    EXPECT_TRUE(ed.main().changed());

    for (int p = 0; p < kSpectrumPropertyCount; ++p) {
        const Modulator& mine = ed.generator().modulators[p];
        const Modulator& theirs = byTool.modulators[p];
        ASSERT_EQ(mine.breakpointCount(), theirs.breakpointCount()) << kSpectrumPropertyNames[p];
        for (int32_t b = 0; b < mine.breakpointCount(); ++b) {
            EXPECT_EQ(mine.breakpoints[b].level, theirs.breakpoints[b].level);
            EXPECT_EQ(mine.breakpoints[b].distance, theirs.breakpoints[b].distance);
            for (int32_t k = 0; k < 128; ++k)
                ASSERT_EQ(mine.breakpoints[b].values[k], theirs.breakpoints[b].values[k])
                    << kSpectrumPropertyNames[p] << " breakpoint " << b << " partial " << k;
        }
    }
    // The tone's partial levels.
    const PartialCurve& amp = ed.generator().modulator(kSpectrumAmp).breakpoints[2].values;
    EXPECT_NEAR(amp[0], 1.0f, 1e-3f);
    EXPECT_NEAR(amp[1], 0.5f, 0.02f);
    EXPECT_NEAR(amp[2], 0.25f, 0.02f);
    EXPECT_LT(amp[3], 0.02f);
}

TEST(SpectrumResynthesis, CancelLeavesTheGeneratorAndFailureSaysSo) {
    test::TempFolder tmp;
    double f0 = 0.0;
    const std::string tone = writeTestTone(tmp, f0);
    ResynthEditor ed;
    ed.generator().modulator(kSpectrumAmp).breakpoints[0].values[0] = 0.5f;
    ResynthOptions options;
    options.fundamental = static_cast<float>(f0);
    options.samplingDistance = 0.01f;  // many frames: the cancel comes long before the end
    ASSERT_TRUE(ed.spectrum().resynth().start(tone, options));
    EXPECT_FALSE(ed.spectrum().resynth().start(tone, options));  // one run at a time
    ed.click(ed.spectrum().resynthButton());                     // the button cancels while running
    ASSERT_TRUE(ed.waitForRun());
    EXPECT_EQ(ed.root().overlayCount(), 0u);
    EXPECT_EQ(ed.generator().modulator(kSpectrumAmp).breakpointCount(), 1);
    EXPECT_EQ(ed.generator().modulator(kSpectrumAmp).breakpoints[0].values[0], 0.5f);
    EXPECT_FALSE(ed.main().changed());

    ASSERT_TRUE(ed.spectrum().resynth().start(tmp.file("missing.flac"), options));
    ASSERT_TRUE(ed.waitForRun());
    auto* box = dynamic_cast<MessageBox*>(ed.root().topOverlay());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Re-Synthesis failed !");
    EXPECT_EQ(box->title(), "Re-Synthesize...");
    EXPECT_EQ(box->icon(), MessageIcon::Error);
    EXPECT_EQ(ed.generator().modulator(kSpectrumAmp).breakpoints[0].values[0], 0.5f);
}

TEST(SpectrumResynthesis, OptionsDialogFieldsRangesAndFilter) {
    ResynthOptions given;
    given.pan = false;
    given.fundamental = 220.0f;
    ResynthOptions got;
    bool ok = false;
    ResynthOptionsDialog dialog(given, [&](const ResynthOptions& o) {
        got = o;
        ok = true;
    });
    EXPECT_FALSE(dialog.check(3).checked());  // "Pan" loaded from the options
    EXPECT_TRUE(dialog.check(0).checked());
    EXPECT_FALSE(dialog.check(4).enabled());  // "Noise"
    EXPECT_EQ(dialog.fundamentalField().text(), "220");

    struct Case {
        const char* fundamental;
        const char* distance;
        float f, d;
    };
    const Case cases[] = {
        {"440", "0.1", 440.0f, 0.1f},
        {"5", "100", 10.0f, 10.0f},  // clamped to the ranges
        {"20000", "0", 10000.0f, 0.01f},
        {"abc", "", 220.0f, 0.1f},  // no number: as opened
    };
    for (const Case& c : cases) {
        dialog.fundamentalField().setText(c.fundamental);
        dialog.distanceField().setText(c.distance);
        EXPECT_EQ(dialog.options().fundamental, c.f) << c.fundamental;
        EXPECT_EQ(dialog.options().samplingDistance, c.d) << c.distance;
    }
    EXPECT_FALSE(ok);

    // The file dialog offers every format the converter reads, not only WAV.
    const std::string filter = ResynthFlow::fileFilter();
    for (const char* e : {"*.wav", "*.flac", "*.aiff", "*.ogg"})
        EXPECT_NE(filter.find(e), std::string::npos) << e << " in " << filter;
}

}  // namespace
}  // namespace quenvale::editor
