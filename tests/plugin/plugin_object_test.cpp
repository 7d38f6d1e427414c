// The plug-in object's own behaviour: event batches, editor echo suppression, host tempo, chunks, trace.
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
        test::pluginObject(host_).setMidiBatchObserver(&PluginObject::observe, this);
    }

    static void observe(const MidiEntry* entries, int32_t count, void* context) {
        auto* self = static_cast<PluginObject*>(context);
        self->batches_.emplace_back(entries, entries + count);
    }

    host::PluginHost host_;
    std::vector<std::vector<MidiEntry>> batches_;
};

TEST_F(PluginObject, MidiEventsArriveInBatchesOf256) {
    std::vector<VstMidiEvent> events;
    for (int i = 0; i < 600; ++i) {
        events.push_back(host::PluginHost::midiEvent(static_cast<uint8_t>(0x90 | (i % 16)),
                                                     static_cast<uint8_t>(i % 128),
                                                     static_cast<uint8_t>(1 + i % 127), i * 3 - 5));
    }
    EXPECT_EQ(host_.sendMidi(events), 1);
    ASSERT_EQ(batches_.size(), 3u);
    EXPECT_EQ(batches_[0].size(), 256u);
    EXPECT_EQ(batches_[1].size(), 256u);
    EXPECT_EQ(batches_[2].size(), 88u);
    // Every event, in order, with its three bytes and frame offset.
    int i = 0;
    for (const auto& batch : batches_) {
        for (const MidiEntry& entry : batch) {
            EXPECT_EQ(entry.status, 0x90 | (i % 16));
            EXPECT_EQ(entry.data1, i % 128);
            EXPECT_EQ(entry.data2, 1 + i % 127);
            EXPECT_EQ(entry.deltaFrames, i * 3 - 5);
            ++i;
        }
    }
}

TEST_F(PluginObject, BatchesWithoutMidiStillReachTheEngine) {
    std::vector<VstEvent> sysex(300);
    std::vector<VstEvent*> pointers;
    for (VstEvent& event : sysex) {
        event = VstEvent{};
        event.type = kVstSysExType;
        event.byteSize = sizeof(VstEvent);
        pointers.push_back(&event);
    }
    EXPECT_EQ(host_.sendEvents(pointers), 1);
    ASSERT_EQ(batches_.size(), 2u);
    EXPECT_TRUE(batches_[0].empty());
    EXPECT_TRUE(batches_[1].empty());

    // Mixed lists keep only the MIDI events, counted per batch of 256 list entries.
    batches_.clear();
    VstMidiEvent note = host::PluginHost::midiEvent(0x90, 60, 100, 7);
    pointers[10] = reinterpret_cast<VstEvent*>(&note);
    pointers[299] = reinterpret_cast<VstEvent*>(&note);
    host_.sendEvents(pointers);
    ASSERT_EQ(batches_.size(), 2u);
    ASSERT_EQ(batches_[0].size(), 1u);
    ASSERT_EQ(batches_[1].size(), 1u);
    EXPECT_EQ(batches_[1][0].deltaFrames, 7);

    // An empty list, or none at all, hands nothing over.
    batches_.clear();
    EXPECT_EQ(host_.sendEvents({}), 1);
    EXPECT_EQ(host_.dispatch(effProcessEvents, 0, 0, nullptr), 1);
    EXPECT_TRUE(batches_.empty());
}

TEST_F(PluginObject, EditorChangeIsReportedWithoutTakingTheEchoBack) {
    TorvaneInterface& plugin = test::pluginObject(host_);
    host_.setParameter(12, 0.25f);  // the editor's edit, made straight in the engine in real use
    // This host echoes every automation straight back, as some do.
    host_.onAutomate([this](VstInt32 index, float) { host_.setParameter(index, 0.9f); });
    plugin.reportEditorChange(12);
    ASSERT_EQ(host_.automateCalls().size(), 1u);
    EXPECT_EQ(host_.automateCalls()[0].index, 12);
    EXPECT_EQ(host_.automateCalls()[0].value, 0.25f);
    EXPECT_EQ(host_.getParameter(12), 0.25f);
    // Outside the report the host's writes count again.
    host_.onAutomate(nullptr);
    host_.setParameter(12, 0.5f);
    EXPECT_EQ(host_.getParameter(12), 0.5f);
}

TEST_F(PluginObject, HostTempoKeepsTheLastKnownValue) {
    TorvaneInterface& plugin = test::pluginObject(host_);
    EXPECT_EQ(plugin.currentHostTempo(), 120.0f);
    host_.setTempo(97.5);
    EXPECT_EQ(plugin.currentHostTempo(), 97.5f);
    host_.setTimeInfoAvailable(false);
    host_.setTempo(60.0);
    EXPECT_EQ(plugin.currentHostTempo(), 97.5f);
    host_.setTimeInfoAvailable(true);
    host_.setTimeInfoFlags(0);  // a record without a valid tempo
    EXPECT_EQ(plugin.currentHostTempo(), 97.5f);
    host_.setTimeInfoFlags(kVstTempoValid);
    EXPECT_EQ(plugin.currentHostTempo(), 60.0f);
    // The render loop asks the host through the same reader, once per control tick: any 64
    // consecutive samples hold one.
    const int before = host_.timeInfoRequests();
    float left[64], right[64];
    host_.processReplacing(left, right, 64);
    EXPECT_GT(host_.timeInfoRequests(), before);
}

TEST_F(PluginObject, RefusedChunksReportTheFailureAndChangeNothing) {
    host_.dispatch(effSetProgram, 0, 5);
    test::DebugCapture capture;
    // Shorter than a header, null, and (until the format lands) any other bytes.
    const unsigned char shortChunk[7] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(host_.dispatch(effSetChunk, 0, sizeof shortChunk, const_cast<unsigned char*>(shortChunk)), 0);
    EXPECT_EQ(host_.dispatch(effSetChunk, 0, 64, nullptr), 0);
    EXPECT_EQ(host_.dispatch(effSetChunk, 0, -8, const_cast<unsigned char*>(shortChunk)), 0);
    ASSERT_EQ(capture.texts().size(), 3u);
    for (const std::string& text : capture.texts())
        EXPECT_NE(text.find("Chunk could not be loaded !"), std::string::npos);
    EXPECT_EQ(host_.dispatch(effGetProgram), 5);

    void* data = reinterpret_cast<void*>(1);
    const VstIntPtr size = host_.dispatch(effGetChunk, 0, 0, &data);
    if (size == 0) {
        EXPECT_NE(capture.texts().back().find("Chunk could not be saved !"), std::string::npos);
        EXPECT_EQ(data, reinterpret_cast<void*>(1));  // the host's pointer is left alone on failure
    }
}

TEST_F(PluginObject, TraceLineGoesToTheDebugOutputFirst) {
    test::DebugCapture capture;
    ::testing::internal::CaptureStdout();
    // Only the low 32 bits of a pointer fit the trace's "%08x".
    void* window = reinterpret_cast<void*>(static_cast<uintptr_t>(0xDEADBEEFu));
    host_.dispatch(effEditOpen, 0, 1, window, 2.0f);
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string line =
        "effEditOpen (nOpcode: 14, nIndex: 0, nValue: 1, pPtr: deadbeef, fOpt: 2.000000\n";
    ASSERT_EQ(capture.texts().size(), 1u);
    EXPECT_EQ(capture.texts()[0], line);
    EXPECT_EQ(out, line);
}

}  // namespace
}  // namespace quenvale
