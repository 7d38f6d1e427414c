// The environment reader and the vector-path names it is used for (the QUENVALE_SIMD limit).
#include "common/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/simd/simd_path.h"

namespace quenvale {
namespace {

TEST(Environment, ReadsSetValuesAndRefusesUnsetOnesAndValuesThatDoNotFit) {
    ::setenv("QUENVALE_TEST_ENV", "avx2", 1);
    ::unsetenv("QUENVALE_TEST_UNSET");
    struct Case {
        const char* name;
        size_t size;
        bool found;
        std::string text;
    };
    const Case cases[] = {
        {"QUENVALE_TEST_ENV", 16, true, "avx2"},
        {"QUENVALE_TEST_ENV", 5, true, "avx2"},  // exactly room for the text and its NUL
        {"QUENVALE_TEST_ENV", 4, false, ""},
        {"QUENVALE_TEST_UNSET", 16, false, ""},
    };
    for (const Case& c : cases) {
        char out[16] = {'x', 'x', 'x', '\0'};
        EXPECT_EQ(readEnvironment(c.name, out, c.size), c.found) << c.name << " in " << c.size;
        EXPECT_EQ(std::string(out), c.text) << c.name << " in " << c.size;
    }
    ::unsetenv("QUENVALE_TEST_ENV");
}

TEST(SimdPathNames, ParseBackToTheirPathAndAnythingElseChangesNothing) {
    for (int p = 0; p < simd::kSimdPathCount; ++p) {
        const auto path = static_cast<simd::SimdPath>(p);
        simd::SimdPath parsed = simd::SimdPath::kScalar;
        EXPECT_TRUE(simd::parseSimdPath(simd::simdPathName(path), parsed));
        EXPECT_EQ(parsed, path);
    }
    for (const char* text : {"", "AVX2", "avx", "avx2 ", "sse", "unknown"}) {
        simd::SimdPath parsed = simd::SimdPath::kAvx2;
        EXPECT_FALSE(simd::parseSimdPath(text, parsed)) << text;
        EXPECT_EQ(parsed, simd::SimdPath::kAvx2) << text;
    }
    // Without a limit the best path is the widest supported one.
    if (std::getenv("QUENVALE_SIMD") != nullptr) GTEST_SKIP() << "QUENVALE_SIMD limits this run";
    EXPECT_EQ(simd::simdPathLimit(), simd::SimdPath::kAvx512);
    for (int p = static_cast<int>(simd::bestSimdPath()) + 1; p < simd::kSimdPathCount; ++p)
        EXPECT_FALSE(simd::simdPathSupported(static_cast<simd::SimdPath>(p)));
}

}  // namespace
}  // namespace quenvale
