// The plug-in object's own behaviour: event batches, editor echo suppression, refused chunks,
// the editor trace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/debug_output.h"
#include "host/test_host.h"

namespace quenvale {
namespace {

class PluginObject : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::startInProcessPlugin(host_)) << host_.error();
        test::pluginObject(host_).setMidiBatchObserver(
            [](const MidiEntry* entries, int32_t count, void* context) {
                auto* self = static_cast<PluginObject*>(context);
                self->batchSizes_.push_back(count);
                self->entries_.insert(self->entries_.end(), entries, entries + count);
            },
            this);
    }
    host::PluginHost host_;
    std::vector<int32_t> batchSizes_;  // one per batch handed to the engine
    std::vector<MidiEntry> entries_;
};

TEST_F(PluginObject, MidiEventsArriveInBatchesOf256) {
    std::vector<VstMidiEvent> events;
    for (int i = 0; i < 600; ++i)
        events.push_back(host::PluginHost::midiEvent(static_cast<uint8_t>(0x90 | (i % 16)),
                                                     static_cast<uint8_t>(i % 128),
                                                     static_cast<uint8_t>(1 + i % 127), i * 3 - 5));
    EXPECT_EQ(host_.sendMidi(events), 1);
    EXPECT_EQ(batchSizes_, (std::vector<int32_t>{256, 256, 88}));
    // Every event, in order, with its three bytes and frame offset.
    for (int i = 0; i < 600; ++i) {
        const MidiEntry& e = entries_.at(size_t(i));
        EXPECT_EQ(std::vector<int>({e.status, e.data1, e.data2, e.deltaFrames}),
                  std::vector<int>({0x90 | (i % 16), i % 128, 1 + i % 127, i * 3 - 5}));
    }
}

TEST_F(PluginObject, BatchesWithoutMidiStillReachTheEngine) {
    std::vector<VstEvent> sysex(300, VstEvent{kVstSysExType, sizeof(VstEvent), 0, 0, {}});
    std::vector<VstEvent*> pointers;
    for (VstEvent& event : sysex) pointers.push_back(&event);
    EXPECT_EQ(host_.sendEvents(pointers), 1);
    EXPECT_EQ(batchSizes_, (std::vector<int32_t>{0, 0}));
    // An empty list, or none at all, hands nothing over.
    batchSizes_.clear();
    EXPECT_EQ(host_.sendEvents({}), 1);
    EXPECT_EQ(host_.dispatch(effProcessEvents, 0, 0, nullptr), 1);
    EXPECT_TRUE(batchSizes_.empty());
}

TEST_F(PluginObject, EditorChangeIsReportedWithoutTakingTheEchoBack) {
    host_.setParameter(12, 0.25f);  // the editor's edit, made straight in the engine in real use
    // This host echoes every automation straight back, as some do.
    host_.onAutomate([this](VstInt32 index, float) { host_.setParameter(index, 0.9f); });
    test::pluginObject(host_).reportEditorChange(12);
    ASSERT_EQ(host_.automateCalls().size(), 1u);
    EXPECT_EQ(host_.automateCalls()[0].index, 12);
    EXPECT_EQ(host_.automateCalls()[0].value, 0.25f);
    EXPECT_EQ(host_.getParameter(12), 0.25f);
    // Outside the report the host's writes count again.
    host_.onAutomate(nullptr);
    host_.setParameter(12, 0.5f);
    EXPECT_EQ(host_.getParameter(12), 0.5f);
}

TEST_F(PluginObject, RefusedChunksReportTheFailureAndChangeNothing) {
    host_.dispatch(effSetProgram, 0, 5);
    test::DebugCapture capture;
    unsigned char shortChunk[7] = {1, 2, 3, 4, 5, 6, 7};  // shorter than a header
    EXPECT_EQ(host_.dispatch(effSetChunk, 0, sizeof shortChunk, shortChunk), 0);
    EXPECT_EQ(host_.dispatch(effSetChunk, 0, 64, nullptr), 0);
    EXPECT_EQ(host_.dispatch(effSetChunk, 0, -8, shortChunk), 0);
    ASSERT_EQ(capture.texts().size(), 3u);
    for (const std::string& text : capture.texts())
        EXPECT_NE(text.find("Chunk could not be loaded !"), std::string::npos);
    EXPECT_EQ(host_.dispatch(effGetProgram), 5);
}

TEST_F(PluginObject, EditorTraceLinesGoToTheDebugOutputAndStandardOutput) {
    test::DebugCapture capture;
    ::testing::internal::CaptureStdout();
    // Only the low 32 bits of a pointer fit the trace's "%08x". No window is made in a window that does
    // not exist (or without a display at all): the open answers 0 after its trace line.
    const VstIntPtr opened = host_.dispatch(effEditOpen, 3, 7, reinterpret_cast<void*>(uintptr_t{0xDEADBEEFu}), 0.5f);
    const VstIntPtr closed = host_.dispatch(effEditClose, 0, -2, nullptr, 0.0f);
    const std::string
        open = "effEditOpen (nOpcode: 14, nIndex: 3, nValue: 7, pPtr: deadbeef, fOpt: 0.500000\n",
        close = "effEditClose (nOpcode: 15, nIndex: 0, nValue: -2, pPtr: 00000000, fOpt: 0.000000\n";
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), open + close);
    EXPECT_EQ(capture.texts(), (std::vector<std::string>{open, close}));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(closed, 1);
}

}  // namespace
}  // namespace quenvale
