// WAV reader: accepted format, chunk walk, sample scaling, truncated and malformed files.
#include "resynth/wav_reader.h"

#include <gtest/gtest.h>

#include "wav_test_support.h"

namespace quenvale {
namespace {

using test::ByteWriter;
using test::wavPreamble;

ByteWriter withData(ByteWriter w, uint32_t declared, std::vector<int32_t> samples) {
    w.tag("data").u32(declared);
    for (int32_t s : samples) w.s16(s);
    return w;
}

TEST(WavReader, AcceptedFilesGiveTheFramesTheyHold) {
    ByteWriter list = wavPreamble();
    list.tag("LIST").u32(6).tag("INFO").u16(0).tag("junk").u32(3).u16(0).bytes.push_back(0);  // odd, no pad
    struct Case {
        const char* what;
        ByteWriter file;
        std::vector<double> left, right;  // expected, in units of 1/32768
    };
    const Case cases[] = {
        {"canonical", withData(wavPreamble(), 16, {-32768, 32767, 0, 1, -1, 16384, 12345, -12345}),
         {-32768, 0, -1, 12345}, {32767, 1, 16384, -12345}},
        {"chunks before data", withData(list, 8, {100, -200, 300, -400}), {100, 300}, {-200, -400}},
        {"10-byte data chunk", withData(wavPreamble(), 10, {1, 2, 3, 4, 5}), {1, 3}, {2, 4}},
        {"4 frames declared, 2.5 present", withData(wavPreamble(), 16, {7, -7, 8, -8, 9}), {7, 8}, {-7, -8}},
        {"near 4 GiB declared", withData(wavPreamble(), 0xFFFFFFFFu, {1, 2, 3, 4, 5, 6}), {1, 3, 5}, {2, 4, 6}},
        {"header ends at the data tag", [] { return wavPreamble().tag("data"); }(), {}, {}},
    };
    test::TempFolder tmp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WavData d;
        ASSERT_TRUE(readWav(tmp.write("in.wav", c.file.bytes).c_str(), d));
        EXPECT_EQ(d.frames, c.left.size());
        EXPECT_EQ(d.wavSampleRate, 44100u);
        ASSERT_EQ(d.left.size(), c.left.size());
        ASSERT_EQ(d.right.size(), c.left.size());
        for (size_t i = 0; i < c.left.size(); ++i) {
            EXPECT_EQ(d.left[i], c.left[i] / 32768.0) << i;  // −32768 reads as exactly −1
            EXPECT_EQ(d.right[i], c.right[i] / 32768.0) << i;
        }
    }
}

TEST(WavReader, RefusedFilesLeaveTheResultAlone) {
    ByteWriter noData = wavPreamble(), pastEnd = wavPreamble();
    noData.tag("LIST").u32(4).tag("INFO");
    pastEnd.tag("LIST").u32(1000).tag("INFO");  // declared beyond the end of the file
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"mono", withData(wavPreamble(1), 8, {0, 0, 0, 0}).bytes},
        {"48000 Hz", withData(wavPreamble(2, 48000), 8, {0, 0, 0, 0}).bytes},
        {"24 bits", withData(wavPreamble(2, 44100, 24), 8, {0, 0, 0, 0}).bytes},
        {"8 bits", withData(wavPreamble(2, 44100, 8), 8, {0, 0, 0, 0}).bytes},
        {"6 channels", withData(wavPreamble(6), 8, {0, 0, 0, 0}).bytes},
        // The chunk walk starts at byte 36, so the data chunk after an 18-byte format chunk is not found.
        {"18-byte format chunk", withData(wavPreamble(2, 44100, 16, 18), 4, {1, 2}).bytes},
        {"no data chunk", noData.bytes},
        {"chunk past the end", pastEnd.bytes},
        {"empty", {}},
    };
    test::TempFolder tmp;
    const auto refused = [](const char* path) {
        WavData d;
        d.left = {0.25};
        d.right = {-0.25};
        d.frames = 1;
        d.wavSampleRate = 7;
        return !readWav(path, d) && d.frames == 1 && d.wavSampleRate == 7 &&
               d.left == std::vector<double>{0.25} && d.right == std::vector<double>{-0.25};
    };
    for (const Case& c : cases) EXPECT_TRUE(refused(tmp.write("in.wav", c.bytes).c_str())) << c.what;
    EXPECT_TRUE(refused(tmp.file("missing.wav").c_str()));
    EXPECT_TRUE(refused(nullptr));
}

}  // namespace
}  // namespace quenvale
