// The dispatcher's opcode table, capability answers and bounded texts, through the built plug-in.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "common/capacity.h"
#include "host/test_host.h"

namespace quenvale {
namespace {

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test::startBuiltPlugin(host_)) << host_.error(); }
    VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0) {
        return host_.dispatch(opcode, index, value, ptr, opt);
    }
    // A host buffer larger than the bound, filled with a marker, so overruns show.
    struct HostBuffer {
        char bytes[256];
        HostBuffer() { std::memset(bytes, 'x', sizeof bytes); }
        bool untouchedFrom(size_t offset) const {
            return std::string(bytes + offset, sizeof bytes - offset) ==
                   std::string(sizeof bytes - offset, 'x');
        }
    };
    host::PluginHost host_;
};

TEST_F(Dispatcher, AnswersOfTheOpcodeTable) {
    EXPECT_EQ(call(effOpen), 1);
    EXPECT_EQ(call(effSetBlockSize, 0, 512), 1);
    EXPECT_EQ(call(effSetSampleRate, 0, 0, nullptr, 48000.0f), 1);
    EXPECT_EQ(call(effSetSampleRate, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(call(effSetSampleRate, 0, 0, nullptr, -44100.0f), 0);
    EXPECT_EQ(call(effMainsChanged, 0, 1), 1);
    EXPECT_EQ(call(effMainsChanged, 0, 0), 1);
    EXPECT_EQ(call(effEditDraw), 1);
    EXPECT_EQ(call(effIdentify), 0x4E764566);
    EXPECT_EQ(call(effCanBeAutomated, 382), 1);
    EXPECT_EQ(call(effProcessEvents), 1);
    EXPECT_EQ(call(effGetVstVersion), 0);
    ERect* rect = nullptr;
    EXPECT_EQ(call(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_GT(rect->right - rect->left, 0);
    EXPECT_GT(rect->bottom - rect->top, 0);
    // Every other opcode up to 79 is left to the defaults: it answers 0 and writes nothing.
    const std::set<VstInt32> kHandled = {0,  1,  2,  3,  4,  5,  6,  7,  8,  10, 11, 12,
                                         13, 14, 15, 16, 22, 23, 24, 25, 26, 29, 51};
    for (VstInt32 opcode = -1; opcode < 80; ++opcode) {
        if (kHandled.contains(opcode)) continue;
        HostBuffer buffer;
        EXPECT_EQ(call(opcode, 1, 1, buffer.bytes, 1.0f), 0) << "opcode " << opcode;
        EXPECT_TRUE(buffer.untouchedFrom(0)) << "opcode " << opcode;
    }
    // Host pointers that are null are refused.
    for (VstInt32 opcode : {effGetProgramName, effGetParamName, effGetParamDisplay, effGetProgramNameIndexed,
                            effSetProgramName, effEditGetRect, effGetChunk, effGetParamLabel})
        EXPECT_EQ(call(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
}

TEST_F(Dispatcher, CapabilityAnswers) {
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent"})
        EXPECT_EQ(call(effCanDo, 0, 0, const_cast<char*>(yes)), 1) << yes;
    for (const char* other : {"receiveVstTimeInfo", "sendVstMidiEvent", "sendVstEvents", "bypass", "offline",
                              "receiveVstEvent", "", "receiveVstEvents "})
        EXPECT_EQ(call(effCanDo, 0, 0, const_cast<char*>(other)), 0) << '"' << other << '"';
    EXPECT_EQ(call(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(Dispatcher, TextsStayWithinSixtyFourBytes) {
    HostBuffer label;
    EXPECT_EQ(call(effGetParamLabel, 5, 0, label.bytes), 0);
    EXPECT_STREQ(label.bytes, "");
    for (VstInt32 index : {0, 100, 382}) {
        HostBuffer name, display;
        EXPECT_EQ(call(effGetParamName, index, 0, name.bytes), 1);
        EXPECT_EQ(call(effGetParamDisplay, index, 0, display.bytes), 1);
        EXPECT_GT(std::strlen(name.bytes), 0u);
        EXPECT_TRUE(name.untouchedFrom(64) && display.untouchedFrom(64));
    }
    // Indices outside the catalogue: empty text and 0, never a read past the tables.
    for (VstInt32 index : {-1, 383, 100000}) {
        HostBuffer name, display;
        EXPECT_EQ(call(effGetParamName, index, 0, name.bytes) +
                      call(effGetParamDisplay, index, 0, display.bytes) + call(effCanBeAutomated, index),
                  0);
        EXPECT_STREQ(name.bytes, "");
        EXPECT_STREQ(display.bytes, "");
    }
    std::string longName(200, 'n');
    HostBuffer renamed, indexed, other;
    EXPECT_EQ(call(effSetProgram, 0, kProgramCount), 0);  // out of range: refused, nothing changes
    EXPECT_EQ(call(effSetProgram, 0, -1), 0);
    EXPECT_EQ(call(effGetProgramNameIndexed, kProgramCount, 0, renamed.bytes), 0);
    EXPECT_EQ(call(effSetProgram, 0, 101), 1);
    // A long program name from the host is cut to the 16 characters the program stores.
    EXPECT_EQ(call(effSetProgramName, 0, 0, longName.data()), 1);
    EXPECT_EQ(call(effGetProgramName, 0, 0, renamed.bytes), 1);
    EXPECT_EQ(std::string(renamed.bytes), longName.substr(0, 16));
    EXPECT_TRUE(renamed.untouchedFrom(64));
    EXPECT_EQ(call(effGetProgramNameIndexed, 101, 0, indexed.bytes), 1);
    EXPECT_STREQ(indexed.bytes, renamed.bytes);
    EXPECT_EQ(call(effGetProgramNameIndexed, 100, 0, other.bytes), 1);
    EXPECT_STREQ(other.bytes, "Program 101");  // beyond the factory programs
    EXPECT_EQ(call(effGetProgram), 101);
}

}  // namespace
}  // namespace quenvale
