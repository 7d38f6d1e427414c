// The voice generator's audio-thread entry points allocate nothing (counted by the shared counter).
#include <gtest/gtest.h>

#include "common/simd/simd_path.h"
#include "engine/osc/render_partials.h"
#include "osc_test_support.h"
#include "support/allocation_counter.h"

namespace quenvale {
namespace {

TEST(OscAllocation, NoteStartTicksRefreshesAndRunsAllocateNothing) {
    osctest::TestVoice v(512);
    v.channel->gen.pwmMode = kPwmSub;
    v.channel->gen.pwmWidth.base = 0.4f;
    v.channel->compressor.on = true;
    v.curves.amp = [](int k) { return 1.0f / static_cast<float>(k + 1); };
    v.writeCurves();
    alignas(64) float left[200] = {}, right[200] = {};
    const simd::SimdPath saved = partialRunPath();
    for (int p = 0; p < simd::kSimdPathCount; ++p) {
        if (!setPartialRunPath(static_cast<simd::SimdPath>(p))) continue;
        test::AllocationCounter counter;
        startVoiceGenerator(*v.vg, *v.channel, 55.0f, v.outputs);
        updateGeneratorControl(*v.vg, *v.channel, v.outputs, 55.0f, 1.0f, 0.0f);
        for (int tick = 0; tick < 20; ++tick) {
            renderGeneratorRun(*v.vg, *v.channel, 64, left, right);
            updateGeneratorControl(*v.vg, *v.channel, v.outputs, 55.0f, 1.0f, 0.015625f);
            refreshGeneratorControl(*v.vg, *v.channel, v.outputs, 55.0f, 1.0f, 0.015625f);
        }
        renderGeneratorRun(*v.vg, *v.channel, 200, left, right);
        renderGeneratorSample(*v.vg, *v.channel, left[0], right[0]);
        releaseVoiceGenerator(*v.vg);
        EXPECT_EQ(counter.count(), 0u) << simd::simdPathName(static_cast<simd::SimdPath>(p));
    }
    setPartialRunPath(saved);
}

}  // namespace
}  // namespace quenvale
