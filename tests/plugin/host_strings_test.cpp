// Bounded string copies between the plug-in and host-owned buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/host_strings.h"

namespace quenvale {
namespace {

TEST(HostStrings, CopiesToTheHostStopAtSixtyFourBytes) {
    char buffer[128];
    std::memset(buffer, 'x', sizeof buffer);
    const std::string longText(200, 'a');
    ASSERT_TRUE(copyToHost(buffer, longText.c_str()));
    EXPECT_EQ(std::strlen(buffer), 63u);
    for (size_t i = 64; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 'x') << i;

    ASSERT_TRUE(copyToHost(buffer, "Gen1 PWM Feedback"));
    EXPECT_STREQ(buffer, "Gen1 PWM Feedback");
    ASSERT_TRUE(copyToHost(buffer, nullptr));
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(copyToHost(nullptr, "text"));
}

TEST(HostStrings, NamesFromTheHostFitTheProgramField) {
    char field[kNameFieldSize];
    std::memset(field, 'x', sizeof field);
    // The source ends without a terminator right after 16 characters: nothing beyond them is read.
    const char unterminated[16] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'};
    copyNameFromHost(field, unterminated);
    EXPECT_STREQ(field, "ABCDEFGHIJKLMNOP");
    copyNameFromHost(field, "short");
    EXPECT_STREQ(field, "short");
    copyNameFromHost(field, nullptr);
    EXPECT_STREQ(field, "");
}

}  // namespace
}  // namespace quenvale
