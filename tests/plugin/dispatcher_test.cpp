// The dispatcher's opcode table and capability answers, through the built plug-in.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/capacity.h"
#include "host/test_host.h"

namespace quenvale {
namespace {

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test::startBuiltPlugin(host_)) << host_.error(); }

    VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f) {
        return host_.dispatch(opcode, index, value, ptr, opt);
    }

    // A host buffer larger than the bound, filled with a marker, so overruns show.
    struct HostBuffer {
        char bytes[256];
        HostBuffer() { std::memset(bytes, 'x', sizeof bytes); }
        bool untouchedFrom(size_t offset) const {
            for (size_t i = offset; i < sizeof bytes; ++i)
                if (bytes[i] != 'x') return false;
            return true;
        }
    };

    host::PluginHost host_;
};

TEST_F(Dispatcher, AnswersOfTheOpcodeTable) {
    EXPECT_EQ(call(effOpen), 1);
    EXPECT_EQ(call(effSetBlockSize, 0, 512), 1);
    EXPECT_EQ(call(effSetSampleRate, 0, 0, nullptr, 48000.0f), 1);
    EXPECT_EQ(call(effMainsChanged, 0, 1), 1);
    EXPECT_EQ(call(effMainsChanged, 0, 0), 1);
    EXPECT_EQ(call(effEditDraw), 1);
    EXPECT_EQ(call(effIdentify), 0x4E764566);
    EXPECT_EQ(call(effCanBeAutomated, 0), 1);
    EXPECT_EQ(call(effCanBeAutomated, 382), 1);
    EXPECT_EQ(call(effProcessEvents), 1);
    EXPECT_EQ(call(effGetVstVersion), 0);

    ERect* rect = nullptr;
    EXPECT_EQ(call(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_GT(rect->right - rect->left, 0);
    EXPECT_GT(rect->bottom - rect->top, 0);

    // Opcodes of the range that the plug-in leaves to the defaults.
    for (VstInt32 opcode : {effGetVu,
                            effEditMouse,
                            effEditKey,
                            effEditIdle,
                            effEditTop,
                            effEditSleep,
                            effString2Parameter,
                            effGetNumProgramCategories,
                            effCopyProgram,
                            effConnectInput,
                            effConnectOutput,
                            effGetInputProperties,
                            effGetOutputProperties,
                            effGetPlugCategory,
                            effGetCurrentPosition,
                            effGetDestinationBuffer,
                            effOfflineNotify,
                            effOfflinePrepare,
                            effOfflineRun,
                            effProcessVarIo,
                            effSetSpeakerArrangement,
                            effSetBlockSizeAndSampleRate,
                            effSetBypass,
                            effGetEffectName,
                            effGetErrorText,
                            effGetVendorString,
                            effGetProductString,
                            effGetVendorVersion,
                            effVendorSpecific}) {
        HostBuffer buffer;
        EXPECT_EQ(call(opcode, 1, 1, buffer.bytes, 1.0f), 0) << "opcode " << opcode;
        EXPECT_TRUE(buffer.untouchedFrom(0)) << "opcode " << opcode;
    }
    for (VstInt32 opcode = 52; opcode < 80; ++opcode) {
        HostBuffer buffer;
        EXPECT_EQ(call(opcode, 0, 0, buffer.bytes), 0) << "opcode " << opcode;
        EXPECT_TRUE(buffer.untouchedFrom(0)) << "opcode " << opcode;
    }
    EXPECT_EQ(call(-1), 0);
}

TEST_F(Dispatcher, CapabilityAnswers) {
    EXPECT_EQ(call(effCanDo, 0, 0, const_cast<char*>("receiveVstEvents")), 1);
    EXPECT_EQ(call(effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent")), 1);
    for (const char* other : {"receiveVstTimeInfo", "sendVstMidiEvent", "sendVstEvents", "bypass", "offline",
                              "receiveVstEvent", "", "receiveVstEvents "}) {
        EXPECT_EQ(call(effCanDo, 0, 0, const_cast<char*>(other)), 0) << '"' << other << '"';
    }
    EXPECT_EQ(call(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(Dispatcher, ParameterTexts) {
    HostBuffer label;
    EXPECT_EQ(call(effGetParamLabel, 5, 0, label.bytes), 0);
    EXPECT_STREQ(label.bytes, "");

    for (VstInt32 index : {0, 100, 382}) {
        HostBuffer name, display;
        EXPECT_EQ(call(effGetParamName, index, 0, name.bytes), 1);
        EXPECT_EQ(call(effGetParamDisplay, index, 0, display.bytes), 1);
        EXPECT_GT(std::strlen(name.bytes), 0u);
        EXPECT_GT(std::strlen(display.bytes), 0u);
        // Bounded: terminator within 64 bytes, nothing written beyond.
        EXPECT_LT(std::strlen(name.bytes), 64u);
        EXPECT_TRUE(name.untouchedFrom(64));
        EXPECT_TRUE(display.untouchedFrom(64));
    }
    // Indices outside the catalogue: empty text and 0, never a read past the tables.
    for (VstInt32 index : {-1, 383, 100000}) {
        HostBuffer name, display;
        EXPECT_EQ(call(effGetParamName, index, 0, name.bytes), 0);
        EXPECT_STREQ(name.bytes, "");
        EXPECT_EQ(call(effGetParamDisplay, index, 0, display.bytes), 0);
        EXPECT_STREQ(display.bytes, "");
        EXPECT_EQ(call(effCanBeAutomated, index), 0);
    }
}

TEST_F(Dispatcher, ProgramsAndTheirNames) {
    for (int program = 0; program < kProgramCount; ++program) {
        HostBuffer name;
        ASSERT_EQ(call(effGetProgramNameIndexed, program, -1, name.bytes), 1);
        char expected[32];
        std::snprintf(expected, sizeof expected, "Program %03d", program + 1);
        EXPECT_STREQ(name.bytes, expected);
    }
    EXPECT_EQ(call(effGetProgram), 0);
    EXPECT_EQ(call(effSetProgram, 0, 41), 1);
    EXPECT_EQ(call(effGetProgram), 41);
    HostBuffer current;
    EXPECT_EQ(call(effGetProgramName, 0, 0, current.bytes), 1);
    EXPECT_STREQ(current.bytes, "Program 042");

    // Out of range: refused, nothing changes.
    EXPECT_EQ(call(effSetProgram, 0, 128), 0);
    EXPECT_EQ(call(effSetProgram, 0, -1), 0);
    EXPECT_EQ(call(effGetProgram), 41);
    HostBuffer outside;
    EXPECT_EQ(call(effGetProgramNameIndexed, 128, 0, outside.bytes), 0);
    EXPECT_STREQ(outside.bytes, "");

    // A long name from the host is cut to the 16 characters the program stores.
    std::string longName(200, 'n');
    longName[0] = 'A';
    EXPECT_EQ(call(effSetProgramName, 0, 0, longName.data()), 1);
    HostBuffer renamed;
    EXPECT_EQ(call(effGetProgramName, 0, 0, renamed.bytes), 1);
    EXPECT_EQ(std::string(renamed.bytes), longName.substr(0, 16));
    EXPECT_TRUE(renamed.untouchedFrom(64));
    HostBuffer indexed;
    EXPECT_EQ(call(effGetProgramNameIndexed, 41, 0, indexed.bytes), 1);
    EXPECT_STREQ(indexed.bytes, renamed.bytes);
    HostBuffer other;
    EXPECT_EQ(call(effGetProgramNameIndexed, 40, 0, other.bytes), 1);
    EXPECT_STREQ(other.bytes, "Program 041");
}

TEST_F(Dispatcher, NullHostPointersAreRefused) {
    EXPECT_EQ(call(effGetProgramName, 0, 0, nullptr), 0);
    EXPECT_EQ(call(effGetParamName, 0, 0, nullptr), 0);
    EXPECT_EQ(call(effGetParamDisplay, 0, 0, nullptr), 0);
    EXPECT_EQ(call(effGetProgramNameIndexed, 0, 0, nullptr), 0);
    EXPECT_EQ(call(effSetProgramName, 0, 0, nullptr), 0);
    EXPECT_EQ(call(effEditGetRect, 0, 0, nullptr), 0);
    EXPECT_EQ(call(effGetChunk, 0, 0, nullptr), 0);
    EXPECT_EQ(call(effGetParamLabel, 0, 0, nullptr), 0);
}

TEST_F(Dispatcher, UnusableSampleRatesAreRefused) {
    EXPECT_EQ(call(effSetSampleRate, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(call(effSetSampleRate, 0, 0, nullptr, -44100.0f), 0);
    EXPECT_EQ(call(effSetSampleRate, 0, 0, nullptr, 44100.0f), 1);
}

TEST_F(Dispatcher, EditorOpenAndCloseWriteTheTraceLine) {
    void* window = reinterpret_cast<void*>(static_cast<uintptr_t>(0x0012ABCDu));
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(call(effEditOpen, 3, 7, window, 0.5f), 1);
    EXPECT_EQ(call(effEditClose, 0, -2, nullptr, 0.0f), 1);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "effEditOpen (nOpcode: 14, nIndex: 3, nValue: 7, pPtr: 0012abcd, fOpt: 0.500000\n"
              "effEditClose (nOpcode: 15, nIndex: 0, nValue: -2, pPtr: 00000000, fOpt: 0.000000\n");
}

}  // namespace
}  // namespace quenvale
