// Bank records: byte-exact round trips, the channel part, refused banks that leave everything as it was.
#include "persist/bank_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "engine/env/default_envelope.h"
#include "engine/spectrum/generator.h"
#include "persist/envelope_record.h"
#include "persist/generator_record.h"
#include "persist/program_record.h"
#include "persist/record_builder.h"

namespace quenvale {
namespace {

std::unique_ptr<Program[]> sampleBank() {
    auto programs = std::make_unique<Program[]>(kProgramCount);
    for (int32_t p = 0; p < kProgramCount; ++p) {
        char name[17];
        std::snprintf(name, sizeof name, "Sound %d", p);
        initProgram(programs[p], name);
        programs[p].values[0] = makeFloatValue(0.01f * static_cast<float>(p));
    }
    writeEnvelopeRecord(defaultEnvelopeCurve(), programs[7].envelopeData[1]);
    Generator g;
    g.modulator(kSpectrumAmp).breakpoints[0].values[0] = 1.0f;
    writeGenerator(g, programs[7].generatorData);
    return programs;
}

std::vector<uint8_t> bankBytes(const Program* programs, const Program* channel) {
    ByteStream s;
    writeBankRecord(programs, channel, s);
    return s.bytes;
}

bool parse(const std::vector<uint8_t>& bytes, BankImage& image) {
    ByteReader reader(bytes.data(), bytes.size());
    return parseBankRecord(reader, image);
}

TEST(BankRecord, WrittenReadAndWrittenAgainIsTheSameBytes) {
    const auto programs = sampleBank();
    const std::vector<uint8_t> plain = bankBytes(programs.get(), nullptr);
    ASSERT_GE(plain.size(), 12u);
    EXPECT_EQ(std::vector<uint8_t>(plain.begin(), plain.begin() + 8),
              (std::vector<uint8_t>{0x82, 0x19, 0x05, 0x13, 0x02, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<uint8_t>(plain.end() - 4, plain.end()), (std::vector<uint8_t>{0, 0, 0, 0}));
    BankImage image;
    ASSERT_TRUE(parse(plain, image));
    EXPECT_EQ(image.channel, nullptr);
    EXPECT_STREQ(image.programs[127].name, "Sound 127");
    EXPECT_EQ(bankBytes(image.programs.get(), nullptr), plain);

    Program channel;
    initProgram(channel, "Channel");
    channel.values[1] = makeFloatValue(0.5f);
    const std::vector<uint8_t> withChannel = bankBytes(programs.get(), &channel);
    EXPECT_EQ(withChannel.size(), plain.size() + kEmptyProgramRecordSize);
    BankImage again;
    ASSERT_TRUE(parse(withChannel, again));
    ASSERT_NE(again.channel, nullptr);
    EXPECT_STREQ(again.channel->name, "Channel");
    EXPECT_EQ(again.channel->values[1].numberAsFloat(), 0.5f);
    EXPECT_EQ(bankBytes(again.programs.get(), again.channel.get()), withChannel);
}

TEST(BankRecord, BankVersion10001HasNoChannelFlag) {
    const auto programs = sampleBank();
    std::vector<uint8_t> bytes = bankBytes(programs.get(), nullptr);
    bytes[4] = 0x01;                 // bank version 0x10001
    bytes.resize(bytes.size() - 4);  // and no flag
    BankImage image;
    ASSERT_TRUE(parse(bytes, image));
    EXPECT_EQ(image.channel, nullptr);
    EXPECT_EQ(bankBytes(image.programs.get(), nullptr), bankBytes(programs.get(), nullptr));
}

TEST(BankRecord, RefusedBanksLeaveTheImageUntouched) {
    const auto programs = sampleBank();
    Program channel;
    initProgram(channel, "Channel");
    const std::vector<uint8_t> valid = bankBytes(programs.get(), &channel);
    BankImage image;
    const auto refused = [&](const std::vector<uint8_t>& bytes) {
        return !parse(bytes, image) && image.programs == nullptr && image.channel == nullptr;
    };
    std::vector<uint8_t> wrongMagic = valid;
    wrongMagic[3] = 0x14;
    EXPECT_TRUE(refused(wrongMagic));
    std::vector<uint8_t> tooNew = valid;
    tooNew[4] = 0x03;  // 0x10003
    EXPECT_TRUE(refused(tooNew));
    // Truncations: every point of the header and the first program, a stride through the rest, and
    // every point of the channel record's end.
    for (size_t n = 0; n < valid.size(); n += (n < 2000 || n + 64 > valid.size()) ? 1 : 997)
        ASSERT_TRUE(refused(std::vector<uint8_t>(valid.begin(), valid.begin() + static_cast<long>(n)))) << n;
    // Garbage after a valid header.
    std::mt19937 random(1982);
    for (int trial = 0; trial < 50; ++trial) {
        std::vector<uint8_t> garbage(valid.begin(), valid.begin() + 8);
        garbage.resize(8 + random() % 4000);
        for (size_t i = 8; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(random());
        ASSERT_TRUE(refused(garbage)) << trial;
    }
}

}  // namespace
}  // namespace quenvale
