// The spectrum editor's logic without a window: display mappings, harmonic masks, scratchpad
// generators, transforms, transfers, undo, swap and recreation.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/random.h"
#include "editor/controls/partial_display.h"
#include "editor/panels/spectrum/harmonic_mask.h"
#include "editor/panels/spectrum/scratchpad.h"
#include "editor/panels/spectrum/scratchpad_curves.h"

namespace quenvale::editor {
namespace {

PartialCurve curveOf(std::vector<float> values) {
    PartialCurve c(static_cast<int32_t>(values.size()));
    for (size_t k = 0; k < values.size(); ++k) c[static_cast<int32_t>(k)] = values[k];
    return c;
}

std::vector<float> valuesOf(const PartialCurve& c) {
    return std::vector<float>(c.data(), c.data() + c.size());
}

// 1-based harmonic numbers of the selected partials among the first `upTo`.
std::vector<int> selectedHarmonics(const std::vector<bool>& mask, int upTo) {
    std::vector<int> h;
    for (int k = 0; k < upTo && k < static_cast<int>(mask.size()); ++k)
        if (mask[k]) h.push_back(k + 1);
    return h;
}

TEST(HarmonicMask, PatternsInvertAndTheFundamental) {
    struct Case {
        int32_t pattern;
        bool invert;
        std::vector<int> selected;  // among harmonics 1 … 17
    };
    const Case cases[] = {
        {0, false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
        {0, true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},  // invert has no effect
        {1, false, {1, 2, 4, 6, 8, 10, 12, 14, 16}},                             // "2"
        {1, true, {1, 3, 5, 7, 9, 11, 13, 15, 17}},                              // "2" inverted
        {2, false, {1, 3, 6, 9, 12, 15}},                                        // "3"
        {7, false, {1, 8, 16}},                                                  // "8"
        {8, false, {1, 2, 4, 8, 16}},                                            // "P"
        {8, true, {1, 3, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15, 17}},               // "P" inverted
    };
    for (const Case& c : cases)
        EXPECT_EQ(selectedHarmonics(harmonicMask(c.pattern, c.invert, 64), 17), c.selected)
            << "pattern " << c.pattern << " invert " << c.invert;
    EXPECT_EQ(harmonicMask(1, false, 128).size(), 128u);
}

TEST(PartialDisplay, ScreenAndValueRoundTripInEveryMode) {
    struct Case {
        uint32_t flags;
        std::vector<float> values;
    };
    const Case cases[] = {
        {0, {0.0f, 0.25f, 0.5f, 1.0f}},
        {kDisplayBipolar, {-1.0f, -0.5f, 0.0f, 0.75f, 1.0f}},
        {kDisplayLog, {1.0f, 0.5f, 0.1f, 0.01f, 0.001f}},
        {kDisplayLog | kDisplayBipolar, {1.0f, 0.1f, 0.001f, -0.002f, -0.1f, -1.0f}},
    };
    const int h = 600;
    for (const Case& c : cases)
        for (float v : c.values) {
            const double y = partialValueToScreen(v, h, c.flags);
            EXPECT_NEAR(partialScreenToValue(y, h, c.flags), v, std::fabs(v) * 1e-4 + 1e-6)
                << "flags " << c.flags << " value " << v;
        }
}

TEST(PartialDisplay, FixedPointsAndClamping) {
    struct Case {
        float v;
        uint32_t flags;
        double y;
    };
    const Case cases[] = {
        {1.0f, 0, 0.0},
        {0.0f, 0, 200.0},
        {2.0f, 0, 0.0},  // above the top: clamped
        {-1.0f, 0, 200.0},
        {0.0f, kDisplayBipolar, 100.0},
        {-1.0f, kDisplayBipolar, 200.0},
        {0.0f, kDisplayLog, 200.0},
        {NAN, kDisplayLog, 200.0},                                  // 0 and NaN: the bottom
        {0.1f, kDisplayLog, 200.0 / 3.0},                           // −20 dB of 60
        {1e-5f, kDisplayLog, 200.0},                                // below −60 dB: the bottom
        {-0.1f, kDisplayLog | kDisplayBipolar, 200.0 * 5.0 / 6.0},  // lower half, 20 dB down
    };
    for (const Case& c : cases)
        EXPECT_NEAR(partialValueToScreen(c.v, 200, c.flags), c.y, 1e-6) << c.v << " flags " << c.flags;
    // The bottom of the logarithmic display draws −60 dB, not 0.
    EXPECT_FLOAT_EQ(partialScreenToValue(200.0, 200, kDisplayLog), 0.001f);
    EXPECT_FLOAT_EQ(partialScreenToValue(-30.0, 200, 0), 1.0f);
}

TEST(PartialDisplay, StatusText) {
    EXPECT_EQ(partialStatusText(0, 0.0f), "Partial 1: -oo dB");
    EXPECT_EQ(partialStatusText(-0, -0.0f), "Partial 1: -oo dB");
    EXPECT_EQ(partialStatusText(2, 0.5f), "Partial 3: -6.0 dB");
    EXPECT_EQ(partialStatusText(511, -0.1f), "Partial 512: -20.0 dB");
}

TEST(ScratchpadGenerators, Shapes) {
    struct Case {
        int32_t command;
        int32_t count;
        std::vector<float> expected;  // the first values
    };
    const Case cases[] = {
        {kGenTriangle, 8, {1.0f, 0.0f, -1.0f / 9, 0.0f, 1.0f / 25, 0.0f, -1.0f / 49, 0.0f}},
        {kGenSaw, 8, {1.0f, 0.5f, 1.0f / 3, 0.25f, 0.2f, 1.0f / 6, 1.0f / 7, 0.125f}},
        {kGenSquare, 8, {1.0f, 0.0f, 1.0f / 3, 0.0f, 0.2f, 0.0f, 1.0f / 7, 0.0f}},
        {kGenSine, 8, {1.0f, 0, 0, 0, 0, 0, 0, 0}},
        {kGenLowPass12, 4, {1.0f, 0.25f, 1.0f / 9, 1.0f / 16}},
        {kGenLowPass24, 4, {1.0f, 1.0f / 16, 1.0f / 81, 1.0f / 256}},
        {kGenHighPass12, 4, {1.0f / 16, 1.0f / 9, 0.25f, 1.0f}},
        {kGenSetToMinusOne, 4, {-1, -1, -1, -1}},
        {kGenClear, 4, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        PartialCurve curve(c.count);
        curve[0] = 7.0f;
        ASSERT_TRUE(generateScratchpad(c.command, curve));
        const std::vector<float> got = valuesOf(curve);
        for (size_t k = 0; k < c.expected.size(); ++k)
            EXPECT_FLOAT_EQ(got[k], c.expected[k]) << "command " << c.command << " partial " << k;
    }
    PartialCurve hp(64);
    ASSERT_TRUE(generateScratchpad(kGenHighPass6, hp));
    EXPECT_FLOAT_EQ(hp[0], 1.0f / 64);
    EXPECT_FLOAT_EQ(hp[63], 1.0f);

    seedRandom(1234);
    PartialCurve noise(64);
    ASSERT_TRUE(generateScratchpad(kGenRandomizeBipolar, noise));
    bool negative = false;
    for (float v : valuesOf(noise)) {
        EXPECT_TRUE(v >= -1.0f && v <= 1.0f);
        negative = negative || v < 0.0f;
    }
    EXPECT_TRUE(negative);

    PartialCurve untouched = curveOf({3, 3, 3, 3});
    EXPECT_FALSE(generateScratchpad(999, untouched));
    EXPECT_EQ(valuesOf(untouched), (std::vector<float>{3, 3, 3, 3}));
}

TEST(ScratchpadTransforms, ValuesOnAKnownCurve) {
    const PartialCurve in = curveOf({1, 2, 3, 4, 0, 0, 0, 0});
    struct Case {
        int32_t transform;
        float v;
        std::vector<float> expected;
    };
    const Case cases[] = {
        {kTransformScale, 0.5f, {0.5f, 1, 1.5f, 2, 0, 0, 0, 0}},
        {kTransformOffset, -1.0f, {0, 1, 2, 3, -1, -1, -1, -1}},
        {kTransformShift, 1.0f, {0, 1, 2, 3, 4, 0, 0, 0}},
        {kTransformOctaveNearest, 1.0f, {0, 1, 0, 2, 0, 3, 0, 4}},
        {kTransformSmooth, -2.0f, {1, 2, 3, 4, 0, 0, 0, 0}},  // x = 0: unchanged
        {kTransformAddNoise, 0.0f, {1, 2, 3, 4, 0, 0, 0, 0}},
        {kTransformMulNoise, 0.0f, {1, 2, 3, 4, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        PartialCurve out(8);
        ASSERT_TRUE(transformScratchpad(c.transform, in, out, c.v)) << c.transform;
        EXPECT_EQ(valuesOf(out), c.expected) << kTransformNames[c.transform];
    }
    // Smoothing spreads a single peak symmetrically and keeps the weighted mean's centre.
    PartialCurve peak(16), smoothed(16);
    peak[8] = 1.0f;
    ASSERT_TRUE(transformScratchpad(kTransformSmooth, peak, smoothed, -1.75f));  // x = 4
    EXPECT_LT(smoothed[8], 1.0f);
    EXPECT_FLOAT_EQ(smoothed[7], smoothed[9]);
    EXPECT_GT(smoothed[7], 0.0f);
    EXPECT_FLOAT_EQ(smoothed[4], 0.0f);  // the weight is 0 at a distance of x
    PartialCurve out(8);
    EXPECT_FALSE(transformScratchpad(kTransformCount, in, out, 1.0f));
}

TEST(ScratchpadTransfers, EveryModeThroughAMask) {
    const PartialCurve src = curveOf({2, 2, 2, 2});
    const std::vector<bool> mask = {true, false, true, false};
    struct Case {
        int32_t mode;
        std::vector<float> expected;
    };
    const Case cases[] = {
        {kTransferCopy, {2, 3, 2, 3}},
        {kTransferMultiply, {6, 3, 6, 3}},
        {kTransferAdd, {5, 3, 5, 3}},
        {kTransferSubtract, {1, 3, 1, 3}},
        {7, {3, 3, 3, 3}},  // unknown: unchanged
    };
    for (const Case& c : cases) {
        PartialCurve dst = curveOf({3, 3, 3, 3});
        transferCurve(c.mode, src, dst, mask);
        EXPECT_EQ(valuesOf(dst), c.expected) << "mode " << c.mode;
    }
    // A mask shorter than the curves leaves the rest unselected.
    PartialCurve dst = curveOf({3, 3, 3, 3});
    transferCurve(kTransferCopy, src, dst, {true});
    EXPECT_EQ(valuesOf(dst), (std::vector<float>{2, 3, 3, 3}));
}

TEST(Scratchpad, SendUndoSwapAndRecreation) {
    Scratchpad pad;
    EXPECT_TRUE(pad.attach(8));
    EXPECT_FALSE(pad.undoEnabled());
    ASSERT_TRUE(pad.generate(kGenSaw));
    const std::vector<bool> all(8, true);

    PartialCurve spectrum = curveOf({9, 9, 9, 9, 9, 9, 9, 9});
    pad.sendTo(spectrum, all);
    EXPECT_FLOAT_EQ(spectrum[1], 0.5f);
    ASSERT_TRUE(pad.undoEnabled());
    ASSERT_TRUE(pad.undo(spectrum));
    EXPECT_EQ(valuesOf(spectrum), std::vector<float>(8, 9.0f));
    EXPECT_FALSE(pad.undoEnabled());
    EXPECT_FALSE(pad.undo(spectrum));  // disabled: nothing happens

    pad.swapWith(spectrum);
    EXPECT_EQ(valuesOf(pad.curve()), std::vector<float>(8, 9.0f));
    EXPECT_FLOAT_EQ(spectrum[3], 0.25f);

    // "\/" through the add mode, then Apply of a transform.
    pad.setTransferMode(kTransferAdd);
    pad.takeFrom(spectrum, all);
    EXPECT_FLOAT_EQ(pad.curve()[0], 10.0f);
    EXPECT_TRUE(pad.undoEnabled());
    pad.setTransform(kTransformScale, 0.5f);
    EXPECT_FLOAT_EQ(pad.preview()[0], 5.0f);
    EXPECT_FLOAT_EQ(pad.curve()[0], 10.0f);
    pad.apply();
    EXPECT_FLOAT_EQ(pad.curve()[0], 5.0f);
    EXPECT_FLOAT_EQ(pad.preview()[0], 2.5f);
    pad.setTransform(kTransformScale, 9.0f);  // clamped to the value's range
    EXPECT_FLOAT_EQ(pad.value(), 2.0f);

    // The same count keeps everything; a new one starts again from zero with undo off.
    EXPECT_FALSE(pad.attach(8));
    EXPECT_FLOAT_EQ(pad.curve()[0], 5.0f);
    EXPECT_TRUE(pad.attach(16));
    EXPECT_EQ(pad.curve().size(), 16);
    EXPECT_EQ(valuesOf(pad.curve()), std::vector<float>(16, 0.0f));
    EXPECT_EQ(pad.preview().size(), 16);
    EXPECT_FALSE(pad.undoEnabled());
}

}  // namespace
}  // namespace quenvale::editor
