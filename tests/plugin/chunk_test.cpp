// Host chunks through the built plug-in: round trip, the state after a load, refusals that change nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/test_host.h"

namespace quenvale {
namespace {

TEST(PluginChunk, LoadKeepsTheSoundUntilTheHostSwitchesOn) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    void* probe = nullptr;
    if (host.dispatch(effGetChunk, 0, 0, &probe) <= 0) GTEST_SKIP() << "this build cannot save chunks yet";

    host.dispatch(effSetProgram, 0, 3);
    const float stored = host.getParameter(0);  // the program's own value
    const float edited = stored < 0.5f ? 0.75f : 0.25f;
    host.setParameter(0, edited);  // live sound differs from the stored program

    void* data = nullptr;
    const VstIntPtr size = host.dispatch(effGetChunk, 0, 0, &data);
    ASSERT_GT(size, 8);
    ASSERT_NE(data, nullptr);
    const std::vector<uint8_t> saved(static_cast<const uint8_t*>(data),
                                     static_cast<const uint8_t*>(data) + size);

    host.setParameter(0, stored);
    // The host hands back the very bytes the plug-in lent it.
    ASSERT_EQ(host.dispatch(effSetChunk, 0, size, data), 1);
    EXPECT_EQ(host.getParameter(0), edited);
    EXPECT_EQ(host.dispatch(effSetProgram, 0, 3), 1);
    EXPECT_EQ(host.getParameter(0), edited)
        << "a program selection right after a load keeps the loaded sound";

    // A damaged chunk is refused and changes nothing.
    std::vector<uint8_t> damaged = saved;
    damaged[0] ^= 0xFF;
    EXPECT_EQ(host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(damaged.size()), damaged.data()), 0);
    EXPECT_EQ(host.getParameter(0), edited);

    host.dispatch(effMainsChanged, 0, 1);
    host.dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(host.getParameter(0), stored) << "once switched on, a selection loads the program's values";

    // The chunk saved again is the same bytes.
    ASSERT_EQ(host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(saved.size()),
                            const_cast<uint8_t*>(saved.data())),
              1);
    void* again = nullptr;
    const VstIntPtr againSize = host.dispatch(effGetChunk, 0, 0, &again);
    ASSERT_EQ(againSize, size);
    EXPECT_EQ(std::memcmp(again, saved.data(), saved.size()), 0);
}

}  // namespace
}  // namespace quenvale
