// The LV2 plug-in in-process through lilv: state save and restore, presets, and control ports.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lv2/lv2_test_support.h"
#include "lv2/lv2_uris.h"
#include "lv2/port_value.h"
#include "persist/bank_record.h"
#include "persist/byte_reader.h"
#include "persist/program_codec.h"
#include "plugin_host.h"
#include "plugin_library.h"

namespace quenvale::test {
namespace {

constexpr const char* kAtomChunk = "http://lv2plug.in/ns/ext/atom#Chunk";
constexpr const char* kAtomInt = "http://lv2plug.in/ns/ext/atom#Int";
constexpr uint32_t kBlock = 256;

const std::vector<uint8_t>& presetBank() {
    static const std::vector<uint8_t> bytes = readBytes(QUENVALE_PRESET_BANK);
    return bytes;
}

lv2host::StateProperties chunkState(const std::vector<uint8_t>& chunk) {
    return {{lv2::kStateChunkUri, {kAtomChunk, chunk}}};
}

struct Instance : lv2host::Lv2Instance {
    Instance() : Lv2Instance(lv2World(), lv2::kPluginUri, 44100.0, kBlock) {}

    // Plays note 60 for frames and returns the left channel. rand() is seeded alike first: some sounds
    // take random phases from it.
    std::vector<float> recordNote(uint32_t frames = 8 * kBlock) {
        std::srand(1);
        std::vector<float> left(frames + kBlock), right(frames + kBlock);
        for (uint32_t done = 0; done < frames; done += kBlock) {
            std::vector<lv2host::MidiEvent> events;
            if (done == 0) events.push_back({0, {0x90, 60, 100}, 3});
            run(kBlock, events, left.data() + done, right.data() + done);
        }
        run(kBlock, {{0, {0x80, 60, 0}, 3}}, left.data() + frames, right.data() + frames);
        return left;
    }
    float playNote() { return peakOf(recordNote()); }
    void silentBlock() {
        std::vector<float> left(kBlock), right(kBlock);
        run(kBlock, {}, left.data(), right.data());
    }
    uint32_t port(const char* symbol) const {
        const int32_t index = portIndex(symbol);
        EXPECT_GE(index, 0) << symbol;
        return static_cast<uint32_t>(index);
    }
};

// The VST 2 plug-in's chunk after it was given bytes as its chunk.
std::vector<uint8_t> vstChunkAfter(const std::vector<uint8_t>& given) {
    std::string error;
    auto library = host::PluginLibrary::open(QUENVALE_PLUGIN_PATH, error);
    EXPECT_TRUE(library) << error;
    if (!library) return {};
    host::PluginHost vst;
    EXPECT_TRUE(vst.instantiate(library->entry()));
    std::vector<uint8_t> copy = given;
    EXPECT_EQ(vst.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(copy.size()), copy.data()), 1);
    void* data = nullptr;
    const VstIntPtr size = vst.dispatch(effGetChunk, 0, 0, &data);
    std::vector<uint8_t> out(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    vst.close();
    return out;
}

TEST(Lv2State, SavedChunkIsTheVstChunkAndRestoresByteIdenticalInAFreshInstance) {
    Instance first;
    ASSERT_TRUE(first.ok()) << first.error();
    ASSERT_EQ(first.restore(chunkState(presetBank())), 0);
    const lv2host::StateProperties plain = first.save();
    ASSERT_EQ(plain.count(lv2::kStateChunkUri), 1u);
    EXPECT_EQ(plain.at(lv2::kStateChunkUri).type, kAtomChunk);
    EXPECT_EQ(plain.at(lv2::kStateChunkUri).bytes, vstChunkAfter(presetBank()));

    // A program change, a played note and port edits: all of it travels in the state.
    ASSERT_TRUE(first.applyPreset(std::string(lv2::kPresetUriPrefix) + "005"));
    first.setControl(first.port("MasterGain"), 0.75f);
    first.setControl(first.port("Lfo1_Type"), 2.0f);
    first.playNote();
    const lv2host::StateProperties saved = first.save();
    ASSERT_EQ(saved.at(lv2::kStateProgramUri).type, kAtomInt);
    ASSERT_EQ(saved.at(lv2::kStateProgramUri).bytes, (std::vector<uint8_t>{5, 0, 0, 0}));
    EXPECT_NE(saved.at(lv2::kStateChunkUri).bytes, plain.at(lv2::kStateChunkUri).bytes);

    Instance second;
    ASSERT_EQ(second.restore(saved), 0);
    const lv2host::StateProperties reopened = second.save();
    EXPECT_EQ(reopened.at(lv2::kStateChunkUri).bytes, saved.at(lv2::kStateChunkUri).bytes);
    EXPECT_EQ(reopened.at(lv2::kStateProgramUri).bytes, saved.at(lv2::kStateProgramUri).bytes);
}

// Refused state leaves the instance exactly as it was: the next save gives the same bytes.
TEST(Lv2State, RefusedStateChangesNothing) {
    const std::vector<uint8_t>& bank = presetBank();
    const std::vector<uint8_t> truncated(bank.begin(), bank.begin() + static_cast<long>(bank.size() / 2));
    const std::vector<uint8_t> header(bank.begin(), bank.begin() + 8);
    const struct {
        const char* what;
        lv2host::StateProperties state;
    } cases[] = {
        {"no properties", {}},
        {"truncated chunk", chunkState(truncated)},
        {"truncated chunk with a program number",
         {{lv2::kStateChunkUri, {kAtomChunk, truncated}}, {lv2::kStateProgramUri, {kAtomInt, {5, 0, 0, 0}}}}},
        {"header only", chunkState(header)},
        {"chunk typed as an integer", {{lv2::kStateChunkUri, {kAtomInt, bank}}}},
        {"program record without its number", {{lv2::kStateProgramRecordUri, {kAtomChunk, {1, 2, 3}}}}},
        {"unreadable program record",
         {{lv2::kStateProgramRecordUri, {kAtomChunk, {1, 2, 3}}},
          {lv2::kStateProgramUri, {kAtomInt, {4, 0, 0, 0}}}}},
    };
    Instance instance;
    ASSERT_EQ(instance.restore(chunkState(bank)), 0);
    const lv2host::StateProperties before = instance.save();
    for (const auto& c : cases) {
        EXPECT_NE(instance.restore(c.state), 0) << c.what;
        EXPECT_EQ(instance.save(), before) << c.what;
    }
}

// The bundle lists the bank's sounds as presets, in program order, and leaves out the slots still
// holding their init program ("Program 056" …); a preset sets the host's controls to the program's
// values, selects the program (the "program" output shows it) and sounds.
TEST(Lv2State, PresetsAreTheBankProgramsAndSelectThem) {
    installProgramStreamCodec();
    BankImage bank;
    ByteReader reader(presetBank().data(), presetBank().size());
    ASSERT_TRUE(parseBankRecord(reader, bank));
    std::vector<int> sounds;
    for (int p = 0; p < 128; ++p) {
        char initName[24];
        std::snprintf(initName, sizeof initName, "Program %03d", p + 1);
        if (std::strcmp(bank.programs[p].name, initName) != 0) sounds.push_back(p);
    }
    ASSERT_GT(sounds.size(), 10u);
    ASSERT_LT(sounds.size(), 128u);
    const auto presets = lv2World().presets(lv2World().plugin(lv2::kPluginUri));
    ASSERT_EQ(presets.size(), sounds.size());
    for (size_t i = 0; i < sounds.size(); ++i) {
        char uri[64];
        std::snprintf(uri, sizeof uri, "%s%03d", lv2::kPresetUriPrefix, sounds[i]);
        EXPECT_EQ(presets[i].uri, uri);
        EXPECT_EQ(presets[i].label, bank.programs[sounds[i]].name) << sounds[i];
    }

    // Two programs without random flutter (which would draw on rand() while the program is applied).
    for (int p : {4, 7}) {
        Instance instance;
        ASSERT_EQ(sounds[static_cast<size_t>(p)], p);
        ASSERT_TRUE(instance.applyPreset(presets[static_cast<size_t>(p)].uri));
        for (int i = 0; i < kParameterCount; ++i)
            ASSERT_EQ(instance.control(i), lv2::portFromParameter(i, bank.programs[p].values[i]))
                << p << " " << i;
        // The preset sounds as the bank's program selected through state (which the render tests hold
        // against the VST 2 plug-in).
        Instance reference;
        lv2host::StateProperties state = chunkState(presetBank());
        state[lv2::kStateProgramUri] = {kAtomInt, {static_cast<uint8_t>(p), 0, 0, 0}};
        ASSERT_EQ(reference.restore(state), 0);
        const std::vector<float> played = instance.recordNote();
        EXPECT_GT(peakOf(played), 0.001f) << p;  // -60 dBFS: a slow attack has begun
        EXPECT_EQ(played, reference.recordNote()) << p;
        EXPECT_EQ(instance.control(instance.port("program")), static_cast<float>(p));
        EXPECT_EQ(instance.save().at(lv2::kStateProgramUri).bytes[0], p);
    }
}

// A port change sets its parameter, as host automation does; a restore keeps its own sound even when
// the host's controls say otherwise, and the next change of a control applies again.
TEST(Lv2State, PortChangesSetParametersAndARestoreKeepsItsSound) {
    Instance instance;
    const uint32_t gain = instance.port("MasterGain");
    instance.setControl(gain, 0.0f);
    ASSERT_EQ(instance.restore(chunkState(presetBank())), 0);
    EXPECT_GT(instance.playNote(), 0.01f) << "the restored program's gain, not the control's 0";

    instance.setControl(gain, 0.5f);
    instance.silentBlock();
    instance.setControl(gain, 0.0f);
    EXPECT_EQ(instance.playNote(), 0.0f);
    // Out of range: clamped to the parameter's maximum.
    instance.setControl(gain, 7.0f);
    EXPECT_GT(instance.playNote(), 0.01f);
}

// A host without state support sets its controls before the first block: the first block applies
// those that differ from the engine, and only those.
TEST(Lv2State, FirstBlockAppliesControlsThatDifferFromTheEngine) {
    Instance untouched, edited;
    untouched.silentBlock();
    const uint32_t type = edited.port("Lfo2_Type");
    edited.setControl(type, 3.4f);  // rounded to 3, "InvSaw"
    edited.silentBlock();
    EXPECT_NE(edited.save(), untouched.save());
    edited.setControl(type, 0.0f);
    edited.silentBlock();
    EXPECT_EQ(edited.save(), untouched.save());
}

// The host is checked before anything is built: an instance needs urid:map and a positive rate.
TEST(Lv2Lifecycle, RefusesAHostWithoutUridMapOrWithoutARate) {
    const LilvPlugin* plugin = lv2World().plugin(lv2::kPluginUri);
    ASSERT_NE(plugin, nullptr);
    const LV2_Feature* none[] = {nullptr};
    EXPECT_EQ(lilv_plugin_instantiate(plugin, 44100.0, none), nullptr);
    EXPECT_EQ(lilv_plugin_instantiate(plugin, 0.0, lv2World().features), nullptr);
    EXPECT_EQ(lilv_plugin_instantiate(plugin, -1.0, lv2World().features), nullptr);
}

// Events of a block of no frames still act; an event stamped past its block acts at the block's end;
// messages longer than three bytes are not MIDI notes.
TEST(Lv2Lifecycle, EmptyBlocksLateEventsAndLongMessages) {
    std::vector<float> left(kBlock, 1.0f), right(kBlock, 1.0f);
    const struct {
        const char* what;
        uint32_t firstFrames;
        lv2host::MidiEvent event;
        bool soundsInFirst, soundsInSecond;
    } cases[] = {
        {"note in an empty block", 0, {0, {0x90, 60, 100}, 3}, false, true},
        {"note stamped past its block", kBlock, {5000, {0x90, 60, 100}, 3}, false, true},
        {"four-byte message", kBlock, {0, {0x90, 60, 100, 0}, 4}, false, false},
        {"note on time", kBlock, {0, {0x90, 60, 100}, 3}, true, true},
    };
    for (const auto& c : cases) {
        Instance instance;
        ASSERT_EQ(instance.restore(chunkState(presetBank())), 0);
        std::fill(left.begin(), left.end(), 0.0f);
        instance.run(c.firstFrames, {c.event}, left.data(), right.data());
        EXPECT_EQ(peakOf(left) > 0.0f, c.soundsInFirst) << c.what;
        instance.run(kBlock, {}, left.data(), right.data());
        instance.run(kBlock, {}, left.data(), right.data());
        EXPECT_EQ(peakOf(left) > 0.0f, c.soundsInSecond) << c.what;
    }
}

}  // namespace
}  // namespace quenvale::test
