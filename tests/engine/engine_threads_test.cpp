// The engine shared by two user-interface threads and the audio thread: structure readers wait for
// structural edits, a bank load keeps a program selected meanwhile, callbacks are published whole,
// voice refreshes run once per block on the audio thread, stores from other threads reach the sound
// at the next block, edit scopes nest, lost MIDI is counted and damaged records are reported.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>
#include <vector>

#include "engine/program_apply.h"
#include "engine_test_support.h"
#include "params/parameter_index.h"
#include "persist/bank_io.h"
#include "persist/generator_record.h"
#include "support/allocation_counter.h"

namespace quenvale {
namespace {

using namespace std::chrono_literals;
using test::noteOn;
using test::renderSamples;

constexpr int32_t kChFx1Type = kChFxGroup.first;  // "ChFx1 Type": 0 None, 1 Delay, 2 Comb

// Runs f on a thread of its own; true when it has not finished after the given time (it is then
// waited for, so a test that lets it go on later sees it end).
class Background {
public:
    template <class F>
    explicit Background(F f) : thread_([this, f] {
          f();
          done_.store(true);
      }) {}
    ~Background() { join(); }
    bool stillRunningAfter(std::chrono::milliseconds wait) {
        std::this_thread::sleep_for(wait);
        return !done_.load();
    }
    void join() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

std::vector<uint8_t> generatorBytes(const Generator& generator) {
    ByteStream stream;
    writeGenerator(generator, stream);
    return stream.bytes;
}

// A bank write and a program store read the modulator trees that a bank load on another
// user-interface thread frees: they wait for a structural edit to end.
TEST(EngineThreads, StructureReadersWaitForAnotherThreadsEdit) {
    SynthEngine engine;
    struct Reader {
        const char* name;
        void (*read)(SynthEngine&);
    };
    const Reader readers[] = {
        {"writeBank", [](SynthEngine& e) {
             ByteStream stream;
             writeBank(e, stream, true);
         }},
        {"storeProgram", [](SynthEngine& e) { e.storeProgram(4); }},
    };
    for (const Reader& reader : readers) {
        SCOPED_TRACE(reader.name);
        auto scope = std::make_unique<EditGuard::EditScope>(engine.editGuard());
        Background other([&] { reader.read(engine); });
        EXPECT_TRUE(other.stillRunningAfter(100ms));
        scope.reset();
        other.join();
    }
}

// A bank load reads the current program inside its edit scope: a selection another thread makes
// while the load waits for the scope stays selected.
TEST(EngineThreads, BankLoadKeepsAProgramSelectedWhileItWaited) {
    SynthEngine engine;
    ByteStream bank;
    writeBank(engine, bank, true);
    auto scope = std::make_unique<EditGuard::EditScope>(engine.editGuard());
    Background loader([&] {
        ByteReader reader(bank.bytes.data(), bank.bytes.size());
        EXPECT_TRUE(readBank(engine, reader, true));
    });
    ASSERT_TRUE(loader.stillRunningAfter(100ms));  // parsed, now waiting for the scope
    engine.selectProgramInEdit(5, true);
    scope.reset();
    loader.join();
    EXPECT_EQ(engine.currentProgram(0), 5);
}

// Edit and read scopes nest on one thread: a program selection from inside an edit (a resynthesis
// callback, say) must not deadlock.
TEST(EngineThreads, ScopesNestOnOneThread) {
    SynthEngine engine;
    auto nested = std::async(std::launch::async, [&] {
        EditGuard::ReadScope read(engine.editGuard());
        EditGuard::EditScope outer(engine.editGuard());
        engine.selectProgram(0, 3, true);
        engine.storeProgram(3);
        EXPECT_TRUE(engine.editGuard().editing());
    });
    if (nested.wait_for(10s) != std::future_status::ready) {
        ADD_FAILURE() << "nested scopes deadlocked";
        std::_Exit(1);  // the stuck thread cannot be joined
    }
    EXPECT_FALSE(engine.editGuard().editing());
    EXPECT_EQ(engine.currentProgram(0), 3);
    // Released by the outermost scope: another thread gets in.
    std::thread([&] { EditGuard::EditScope other(engine.editGuard()); }).join();
}

// Clearing a callback returns only once a call through the old record has ended, so the caller may
// free the context at once; a call never pairs one callback with another's context.
TEST(EngineThreads, CallbackRecordsArePublishedWholeAndRetiredAfterTheirCalls) {
    SynthEngine engine;
    struct Context {
        std::atomic<bool> inside{false}, release{false};
        int32_t tag = 0;
    } first, second;
    first.tag = 1;
    second.tag = 2;
    std::atomic<int32_t> mismatches{0};
    auto blocking = [](int32_t, int32_t, void* c) {
        auto* context = static_cast<Context*>(c);
        context->inside.store(true);
        while (!context->release.load()) std::this_thread::yield();
    };
    engine.setParameterChangedCallback(blocking, &first);
    Background store([&] { engine.setParameterValue(0, kParamGlide, makeFloatValue(0.1f)); });
    while (!first.inside.load()) std::this_thread::yield();
    Background clear([&] { engine.setParameterChangedCallback(nullptr, nullptr); });
    EXPECT_TRUE(clear.stillRunningAfter(100ms));  // the call through the old record still runs
    first.release.store(true);
    clear.join();
    store.join();

    // Two callbacks with their own contexts, swapped while another thread stores.
    static std::atomic<int32_t>* failures = nullptr;
    failures = &mismatches;
    auto expectFirst = [](int32_t, int32_t, void* c) {
        if (static_cast<Context*>(c)->tag != 1) failures->fetch_add(1);
    };
    auto expectSecond = [](int32_t, int32_t, void* c) {
        if (static_cast<Context*>(c)->tag != 2) failures->fetch_add(1);
    };
    std::atomic<bool> stop{false};
    Background storer([&] {
        while (!stop.load()) engine.setParameterValue(0, kParamGlide, makeFloatValue(0.1f));
    });
    for (int i = 0; i < 2000; ++i) {
        engine.setParameterChangedCallback(expectFirst, &first);
        engine.setParameterChangedCallback(expectSecond, &second);
        engine.setParameterChangedCallback(nullptr, nullptr);
    }
    stop.store(true);
    storer.join();
    EXPECT_EQ(mismatches.load(), 0);
}

// Stores between two blocks cost one voice refresh, at the start of the next block, on the audio
// thread; a store itself refreshes nothing and allocates nothing.
TEST(EngineThreads, DenseAutomationCostsOneRefreshPerBlock) {
    SynthEngine engine;
    for (int n = 0; n < 32; ++n) noteOn(engine, 36 + n);
    renderSamples(engine, 512);
    const uint64_t before = engine.refreshCount();
    {
        test::AllocationCounter counter;
        for (int32_t k = 0; k < 64; ++k)
            engine.setParameterNormalized(0, kGenGroup.first + (k % 4), 0.25f + 0.005f * static_cast<float>(k));
        EXPECT_EQ(counter.count(), 0u);
    }
    EXPECT_EQ(engine.refreshCount(), before);
    renderSamples(engine, 512);
    EXPECT_EQ(engine.refreshCount(), before + 1);
    renderSamples(engine, 512);
    EXPECT_EQ(engine.refreshCount(), before + 1);  // nothing new, nothing run
}

// One refresh for many stores sounds exactly like one refresh after each store: the refresh is a
// function of the stored values alone.
TEST(EngineThreads, CoalescedRefreshIsBitIdenticalToOneRefreshPerStore) {
    auto play = [](bool refreshEachStore) {
        std::srand(7);
        SynthEngine engine;
        test::makeSine(engine);
        engine.setParameterNormalized(0, kChFx1Type, 1.0f);  // Comb
        for (int n : {45, 52, 57, 61, 64}) noteOn(engine, n);
        const MidiEntry clock{0xF8, 0, 0, 0};  // ignored; only runs the work waiting for the audio thread
        std::vector<float> out, l(300), r(300);
        for (int block = 0; block < 40; ++block) {
            for (int32_t k = 0; k < 16; ++k) {
                // The generator's values, voice LFOs 1 … 2 and the first effect's values.
                const int32_t pick = (k * 7 + block * 3) % 90;
                const int32_t index = pick < 30   ? kGenGroup.first + pick
                                      : pick < 74 ? kLfoGroup.first + (pick - 30)
                                                  : kChFx1Type + 1 + (pick - 74);
                const float x = engine.getParameterNormalized(0, index);
                engine.setParameterNormalized(0, index, x + (x < 0.5f ? 0.01f : -0.01f));
                if (refreshEachStore) engine.processMidi(&clock, 1);
            }
            engine.render(l.data(), r.data(), 300);  // off the 64-sample grid on purpose
            out.insert(out.end(), l.begin(), l.end());
            out.insert(out.end(), r.begin(), r.end());
        }
        return out;
    };
    const std::vector<float> coalesced = play(false);
    const std::vector<float> eachStore = play(true);
    ASSERT_EQ(coalesced.size(), eachStore.size());
    size_t differing = 0;
    for (size_t i = 0; i < coalesced.size(); ++i)
        if (std::bit_cast<uint32_t>(coalesced[i]) != std::bit_cast<uint32_t>(eachStore[i])) ++differing;
    EXPECT_EQ(differing, 0u);
    EXPECT_GT(test::peakIn(coalesced, 0, coalesced.size()), 0.01f);
}

// Before any block was rendered, a store on a user-interface thread runs no voice refresh there
// (two such threads would evaluate the shared spectrum scratch at once); the first block does.
TEST(EngineThreads, NoRefreshRunsOffTheAudioThread) {
    SynthEngine engine;
    const uint64_t before = engine.refreshCount();
    std::thread a([&] { engine.setParameterNormalized(0, kGenGroup.first, 0.3f); });
    std::thread b([&] { engine.setParameterNormalized(0, kGenGroup.first + 1, 0.6f); });
    a.join();
    b.join();
    EXPECT_EQ(engine.refreshCount(), before);
    renderSamples(engine, 64);
    EXPECT_EQ(engine.refreshCount(), before + 1);
}

// Once the audio thread runs, another thread's store reaches the live values at the next block,
// reads on that thread answer it at once, and an effect type change clears the lines there.
TEST(EngineThreads, StoresFromAnotherThreadReachTheSoundAtTheNextBlock) {
    SynthEngine engine;
    renderSamples(engine, 64);  // this thread is the audio thread now
    std::thread([&] {
        engine.setParameterNormalized(0, kChFx1Type, 1.0f);  // Comb
        EXPECT_EQ(valueAsInt(engine.getParameterValue(0, kChFx1Type)), kEffectComb);
    }).join();
    EXPECT_EQ(engine.channel().fx[0].type, kEffectNone);  // the render has not met it yet
    renderSamples(engine, 1);
    EXPECT_EQ(engine.channel().fx[0].type, kEffectComb);

    // A program load supersedes a store handed over before it.
    std::thread([&] { engine.setParameterNormalized(0, kParamGlide, 0.75f); }).join();
    engine.selectProgram(0, 0, true);
    renderSamples(engine, 1);
    EXPECT_EQ(engine.getParameterNormalized(0, kParamGlide), 0.0f);
}

// A host that stopped rendering still gets the latest stores in a chunk.
TEST(EngineThreads, ChunkWritesIncludeStoresTheAudioThreadHasNotTakenYet) {
    SynthEngine engine;
    renderSamples(engine, 64);
    std::thread([&] {
        engine.setParameterNormalized(0, kParamGlide, 0.5f);
        ByteStream stream;
        writeBank(engine, stream, true);
    }).join();
    EXPECT_EQ(engine.getParameterNormalized(0, kParamGlide), 0.5f);
    EXPECT_EQ(engine.channel().glide, valueAsFloat(valueFromNormalized(kParamGlide, 0.5f)));
}

// MIDI arriving while a structural edit holds the engine waits in a queue of 1024 entries; what
// does not fit is counted.
TEST(EngineThreads, MidiLostToAFullQueueIsCounted) {
    SynthEngine engine;
    std::vector<MidiEntry> entries(1100, test::controllerEntry(7, 64));
    {
        EditGuard::EditScope scope(engine.editGuard());
        engine.processMidi(entries.data(), static_cast<int32_t>(entries.size()));
    }
    EXPECT_EQ(engine.pendingMidiCount(), 1024);
    EXPECT_EQ(engine.droppedMidiCount(), 76u);
}

// A program whose generator record is damaged gets the default generator (not the one sounding
// before, nor half a record), and the selection says so.
TEST(EngineThreads, DamagedGeneratorRecordIsReplacedByDefaultsAndReported) {
    SynthEngine engine;
    test::makeSine(engine);  // something other than the default
    const std::vector<uint8_t> defaults = generatorBytes(Generator{});
    ASSERT_NE(generatorBytes(*engine.channel().generator), defaults);
    ByteStream good;
    writeGenerator(*engine.channel().generator, good);
    engine.program(3).generatorData.bytes.assign(good.bytes.begin(), good.bytes.begin() + 40);
    EXPECT_FALSE(engine.selectProgram(0, 3, true));
    EXPECT_EQ(engine.damagedRecordCount(), 1u);
    EXPECT_EQ(generatorBytes(*engine.channel().generator), defaults);
    EXPECT_TRUE(engine.selectProgram(0, 0, true));
    EXPECT_EQ(engine.damagedRecordCount(), 1u);
}

}  // namespace
}  // namespace quenvale
