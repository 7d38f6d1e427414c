// Host chunks through the built plug-in: get/set/get byte for byte, the stored channel state, and
// refused chunks that leave the next chunk unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "host/test_host.h"
#include "persist/bank_record.h"
#include "persist/envelope_record.h"
#include "persist/program_record.h"

namespace quenvale {
namespace {

std::vector<uint8_t> getChunk(host::PluginHost& host) {
    void* data = nullptr;
    const VstIntPtr size = host.dispatch(effGetChunk, 0, 0, &data);
    if (size <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

VstIntPtr setChunk(host::PluginHost& host, std::vector<uint8_t> bytes) {
    return host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
}

TEST(PluginChunkFormat, GetSetGetIsTheSameBytes) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    host.setParameter(1, 0.25f);  // a live change the chunk must carry
    const std::vector<uint8_t> first = getChunk(host);
    // 128 programs and the channel record, which holds the live components.
    EXPECT_GT(first.size(), 8 + 129 * kEmptyProgramRecordSize + 4);
    ASSERT_EQ(setChunk(host, first), 1);
    EXPECT_EQ(getChunk(host), first);
    EXPECT_EQ(host.getParameter(1), 0.25f);
}

TEST(PluginChunkFormat, StoredChannelStateBecomesTheLiveSound) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    std::vector<uint8_t> chunk = getChunk(host);
    ASSERT_FALSE(chunk.empty());
    // Give the channel record an envelope of its own and a program a new name, then load it.
    BankImage image;
    ByteReader reader(chunk.data(), chunk.size());
    ASSERT_TRUE(parseBankRecord(reader, image));
    ASSERT_NE(image.channel, nullptr);
    BreakpointCurve curve;
    curve.segmentCount = 1;
    curve.lengths[0] = 0.5f;
    curve.endValues[0] = 0.25f;
    curve.shapes[0] = 0.5f;
    image.channel->envelopeData[3].clear();
    writeEnvelopeRecord(curve, image.channel->envelopeData[3]);
    std::strcpy(image.programs[42].name, "Loaded");
    ByteStream edited;
    writeBankRecord(image.programs.get(), image.channel.get(), edited);
    ASSERT_EQ(setChunk(host, edited.bytes), 1);
    EXPECT_EQ(getChunk(host), edited.bytes);
    char name[64] = {};
    host.dispatch(effGetProgramNameIndexed, 42, 0, name);
    EXPECT_STREQ(name, "Loaded");
}

TEST(PluginChunkFormat, RefusedChunksLeaveTheStateAsItWas) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    host.dispatch(effSetProgram, 0, 7);
    host.setParameter(0, 0.6f);
    const std::vector<uint8_t> before = getChunk(host);
    ASSERT_FALSE(before.empty());

    std::vector<uint8_t> magic = before;
    magic[1] = 0x18;
    EXPECT_EQ(setChunk(host, magic), 0);
    EXPECT_EQ(getChunk(host), before);
    std::vector<uint8_t> version = before;
    version[4] = 0x03;  // bank version 0x10003
    EXPECT_EQ(setChunk(host, version), 0);
    EXPECT_EQ(getChunk(host), before);
    for (size_t n = 0; n < before.size(); n += (n < 1800 || n + 40 > before.size()) ? 1 : 1499)
        ASSERT_EQ(setChunk(host, std::vector<uint8_t>(before.begin(), before.begin() + static_cast<long>(n))),
                  0)
            << n;
    EXPECT_EQ(getChunk(host), before);
    std::mt19937 random(5);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<uint8_t> garbage = before;
        for (int i = 0; i < 8; ++i)
            garbage[8 + random() % (garbage.size() - 8)] = static_cast<uint8_t>(random());
        garbage.resize(garbage.size() - 1 - random() % 100);  // damaged and cut short
        ASSERT_EQ(setChunk(host, garbage), 0) << trial;
    }
    EXPECT_EQ(getChunk(host), before);
    EXPECT_EQ(host.dispatch(effGetProgram), 7);
}

}  // namespace
}  // namespace quenvale
