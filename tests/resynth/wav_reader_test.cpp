// WAV reader: accepted format, chunk walk, sample scaling, truncated and malformed files.
#include "resynth/wav_reader.h"

#include <gtest/gtest.h>

#include "wav_test_support.h"

namespace quenvale {
namespace {

using test::ByteWriter;
using test::TempFolder;

// A result that a failed read must leave exactly as it was.
WavData sentinel() {
    WavData d;
    d.left = {0.25};
    d.right = {-0.25};
    d.frames = 1;
    d.wavSampleRate = 7;
    return d;
}

void expectUntouched(const WavData& d) {
    EXPECT_EQ(d.frames, 1u);
    EXPECT_EQ(d.wavSampleRate, 7u);
    ASSERT_EQ(d.left.size(), 1u);
    EXPECT_EQ(d.left[0], 0.25);
    EXPECT_EQ(d.right[0], -0.25);
}

TEST(WavReader, CanonicalFileScalesSamplesByOneOver32768) {
    TempFolder tmp;
    const std::vector<int16_t> samples = {-32768, 32767, 0, 1, -1, 16384, 12345, -12345};
    const std::string path = tmp.write("canonical.wav", test::canonicalWav(samples));
    WavData d;
    ASSERT_TRUE(readWav(path.c_str(), d));
    EXPECT_EQ(d.frames, 4u);
    EXPECT_EQ(d.wavSampleRate, 44100u);
    ASSERT_EQ(d.left.size(), 4u);
    ASSERT_EQ(d.right.size(), 4u);
    EXPECT_EQ(d.left[0], -1.0);
    EXPECT_EQ(d.right[0], 0.999969482421875);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(d.left[i], samples[2 * i] / 32768.0) << i;
        EXPECT_EQ(d.right[i], samples[2 * i + 1] / 32768.0) << i;
    }
}

TEST(WavReader, SkipsChunksBeforeDataIncludingOddSizedOnes) {
    TempFolder tmp;
    ByteWriter w = test::wavPreamble();
    w.tag("LIST").u32(6).tag("INFO").u16(0);
    w.tag("junk").u32(3).raw({1, 2, 3});  // odd size, no pad byte
    w.tag("data").u32(8).s16(100).s16(-200).s16(300).s16(-400);
    const std::string path = tmp.write("list.wav", w.bytes);
    WavData d;
    ASSERT_TRUE(readWav(path.c_str(), d));
    ASSERT_EQ(d.frames, 2u);
    EXPECT_EQ(d.left[1], 300 / 32768.0);
    EXPECT_EQ(d.right[1], -400 / 32768.0);
}

TEST(WavReader, EighteenByteFormatChunkIsNotFoundBecauseTheWalkStartsAtByte36) {
    TempFolder tmp;
    ByteWriter w = test::wavPreamble(2, 44100, 16, 18);
    w.tag("data").u32(4).s16(1).s16(2);
    const std::string path = tmp.write("fmt18.wav", w.bytes);
    WavData d = sentinel();
    EXPECT_FALSE(readWav(path.c_str(), d));
    expectUntouched(d);
}

TEST(WavReader, RefusesEveryOtherFormatAndLeavesTheResultAlone) {
    TempFolder tmp;
    struct Case {
        uint32_t channels, rate, bits;
    };
    for (const Case c : {Case{1, 44100, 16}, Case{2, 48000, 16}, Case{2, 44100, 24}, Case{2, 44100, 8},
                         Case{6, 44100, 16}}) {
        ByteWriter w = test::wavPreamble(c.channels, c.rate, c.bits);
        w.tag("data").u32(8).u32(0).u32(0);
        const std::string path = tmp.write("format.wav", w.bytes);
        WavData d = sentinel();
        EXPECT_FALSE(readWav(path.c_str(), d)) << c.channels << " " << c.rate << " " << c.bits;
        expectUntouched(d);
    }
}

TEST(WavReader, TenByteDataChunkGivesTwoFrames) {
    TempFolder tmp;
    ByteWriter w = test::wavPreamble();
    w.tag("data").u32(10).s16(1).s16(2).s16(3).s16(4).s16(5);
    const std::string path = tmp.write("ten.wav", w.bytes);
    WavData d;
    ASSERT_TRUE(readWav(path.c_str(), d));
    EXPECT_EQ(d.frames, 2u);
    EXPECT_EQ(d.left.size(), 2u);
    EXPECT_EQ(d.right[1], 4 / 32768.0);
}

TEST(WavReader, TruncatedDataChunkYieldsTheFramesTheFileHolds) {
    TempFolder tmp;
    {
        // 4 frames declared, 2 frames and half a frame present.
        ByteWriter w = test::wavPreamble();
        w.tag("data").u32(16).s16(7).s16(-7).s16(8).s16(-8).s16(9);
        const std::string path = tmp.write("short.wav", w.bytes);
        WavData d;
        ASSERT_TRUE(readWav(path.c_str(), d));
        ASSERT_EQ(d.frames, 2u);
        EXPECT_EQ(d.left[1], 8 / 32768.0);
        EXPECT_EQ(d.right[1], -8 / 32768.0);
    }
    {
        // A near-4 GiB declaration over three frames must neither allocate it nor read past the end.
        ByteWriter w = test::wavPreamble();
        w.tag("data").u32(0xFFFFFFFFu).s16(1).s16(2).s16(3).s16(4).s16(5).s16(6);
        const std::string path = tmp.write("huge.wav", w.bytes);
        WavData d;
        ASSERT_TRUE(readWav(path.c_str(), d));
        EXPECT_EQ(d.frames, 3u);
        EXPECT_EQ(d.left.size(), 3u);
        EXPECT_EQ(d.right[2], 6 / 32768.0);
    }
}

TEST(WavReader, FailsWithoutDataChunkOrFile) {
    TempFolder tmp;
    ByteWriter w = test::wavPreamble();
    w.tag("LIST").u32(4).tag("INFO");
    const std::string noData = tmp.write("nodata.wav", w.bytes);
    ByteWriter past = test::wavPreamble();
    past.tag("LIST").u32(1000).tag("INFO");  // declared beyond the end of the file
    const std::string pastEnd = tmp.write("pastend.wav", past.bytes);
    const std::string empty = tmp.write("empty.wav", {});

    for (const std::string& path : {noData, pastEnd, empty, tmp.file("missing.wav")}) {
        WavData d = sentinel();
        EXPECT_FALSE(readWav(path.c_str(), d)) << path;
        expectUntouched(d);
    }
    WavData d = sentinel();
    EXPECT_FALSE(readWav(nullptr, d));
}

TEST(WavReader, HeaderTailKeepsDefaultsWhenTheFileIsShort) {
    // 40 bytes: the header up to the "data" tag; the size field keeps its default 0.
    WavHeader h;
    ByteWriter w = test::wavPreamble();
    w.tag("data");
    decodeWavHeader(h, w.bytes.data(), w.bytes.size());
    EXPECT_EQ(h.channels, 2u);
    EXPECT_EQ(h.chunkSize, 0u);
    TempFolder tmp;
    const std::string path = tmp.write("forty.wav", w.bytes);
    WavData d;
    ASSERT_TRUE(readWav(path.c_str(), d));
    EXPECT_EQ(d.frames, 0u);
    EXPECT_TRUE(d.left.empty());
}

}  // namespace
}  // namespace quenvale
