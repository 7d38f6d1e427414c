// The analysis inputs: the WAV reader (accepted format, chunk walk, sample scaling, truncated and
// malformed files) and the FFT against a direct DFT.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "resynth/fft.h"
#include "resynth/wav_reader.h"

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

// X[k] = Σ x[j]·e^(sign·2πi·jk/n), divided by n for a negative sign, summed in long double.
void directDft(int32_t n, const std::vector<double>& re, const std::vector<double>& im, int32_t sign,
               int32_t k, double& outRe, double& outIm) {
    long double sr = 0, si = 0;
    for (int32_t j = 0; j < n; ++j) {
        const long double phase = 2.0L * 3.14159265358979323846264338L * ((static_cast<int64_t>(j) * k) % n) / n;
        const long double c = std::cos(phase), s = sign * std::sin(phase);
        sr += re[j] * c - im[j] * s;
        si += re[j] * s + im[j] * c;
    }
    outRe = static_cast<double>(sign < 0 ? sr / n : sr);
    outIm = static_cast<double>(sign < 0 ? si / n : si);
}

// Every bin up to 2048 points, sampled bins at the analysis size 32768; the table gives the same bits.
TEST(Fft, MatchesDirectDftForBothSignsAndSeveralSizes) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (int32_t n : {1, 2, 4, 8, 64, 512, 2048, 32768}) {
        const FftTable table(n);
        for (int32_t sign : {-1, 1}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " sign=" << sign);
            std::vector<double> re(n), im(n);
            for (int32_t i = 0; i < n; ++i) {
                re[i] = dist(rng);
                im[i] = dist(rng);
            }
            std::vector<double> fr = re, fi = im, tr = re, ti = im;
            fftInPlace(n, fr.data(), fi.data(), sign);
            fftInPlace(table, tr.data(), ti.data(), sign);
            ASSERT_EQ(fr, tr);
            ASSERT_EQ(fi, ti);
            const double tol = (sign < 0 ? 1e-14 : 1e-14 * n) * std::log2(2.0 * n);
            for (int32_t k = 0; k < n; k += n > 2048 ? 1237 : 1) {
                double dr, di;
                directDft(n, re, im, sign, k, dr, di);
                ASSERT_NEAR(fr[k], dr, tol) << "k=" << k;
                ASSERT_NEAR(fi[k], di, tol) << "k=" << k;
            }
        }
    }
}

}  // namespace
}  // namespace quenvale
