// Two user-interface threads and an audio thread over one engine, then over one plug-in instance,
// for a given time: program selection, bank and chunk reads and writes, program stores, parameter
// stores and reads, effect-type changes, callback installation and host automation, while the audio
// thread renders and takes MIDI. Meant to run under ThreadSanitizer (scripts/test.sh), which reports
// any race; the program itself fails when a render gives a non-finite sample, a callback meets a
// context that is not its own or has been freed, or a chunk is refused.
//
//     quenvale_threads_stress [SECONDS]    (2 by default; half on the engine, half on the plug-in)
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "engine/synth_engine.h"
#include "params/parameter_index.h"
#include "persist/bank_io.h"
#include "plugin/torvane_interface.h"
#include "plugin/vst_plugin_main.h"

namespace quenvale {
namespace {

constexpr int32_t kChFx1Type = kChFxGroup.first;
constexpr int32_t kChFx2Type = kChFxGroup.first + kChFxGroup.entries;
constexpr int32_t kBlock = 256;

std::atomic<int> failures{0};

void fail(const char* what) {
    if (failures.fetch_add(1) < 10) std::fprintf(stderr, "threads stress: %s\n", what);
}

// A parameter worth automating: values of the generator, an envelope, two LFOs, the effects.
int32_t someParameter(uint32_t n) {
    static const int32_t picks[] = {0,   1,   2,   8,   9,   10,  13,  39,  49,  50, 107,
                                    108, 110, 129, 130, 332, 333, 334, 358, 359, 360};
    return picks[n % (sizeof picks / sizeof picks[0])];
}

// A small xorshift generator per thread: rand() would be shared state of its own.
struct Random {
    uint32_t state;
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float unit() { return static_cast<float>(next() % 1000) / 999.0f; }
};

void checkFinite(const float* samples, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        if (!std::isfinite(samples[i])) {
            fail("non-finite sample");
            return;
        }
}

// A callback context that knows whether it is still alive and whose callback it belongs to.
struct CallbackContext {
    static constexpr uint32_t kAlive = 0xA11CE;
    std::atomic<uint32_t> alive{kAlive};
    int32_t tag = 0;
    std::atomic<uint32_t> calls{0};
};

template <int32_t kTag>
void onParameterChanged(int32_t, int32_t, void* context) {
    auto* c = static_cast<CallbackContext*>(context);
    if (c->alive.load() != CallbackContext::kAlive || c->tag != kTag)
        fail("parameter callback met a wrong context");
    c->calls.fetch_add(1, std::memory_order_relaxed);
}

void onProgramChanged(int32_t, int32_t, void* context) {
    auto* c = static_cast<CallbackContext*>(context);
    if (c->alive.load() != CallbackContext::kAlive) fail("program callback met a freed context");
}

float tempoReader(void*) {
    return 128.0f;
}

// ---- the engine -----------------------------------------------------------------------------

void stressEngine(std::chrono::milliseconds duration) {
    SynthEngine engine;
    engine.setSampleRate(44100.0f);
    std::atomic<bool> stop{false};

    std::thread audio([&] {
        Random random{0x1234567u};
        std::vector<float> left(kBlock), right(kBlock);
        uint8_t note = 40;
        while (!stop.load()) {
            const MidiEntry entries[2] = {{0x90, static_cast<uint8_t>(note + 12), 100, 0},
                                          {0x80, note, 0, 0}};
            engine.processMidi(entries, 2);
            note = static_cast<uint8_t>(40 + (note - 39) % 24);
            for (int k = 0; k < 4; ++k)
                engine.setParameterNormalized(0, someParameter(random.next()), random.unit());
            engine.render(left.data(), right.data(), kBlock);
            checkFinite(left.data(), kBlock);
            checkFinite(right.data(), kBlock);
            float l = 0.0f, r = 0.0f;
            engine.readPeaks(l, r);
        }
    });

    // The host's user-interface thread: programs, banks, stores, values and texts.
    std::thread host([&] {
        Random random{0x89abcdefu};
        ByteStream bank;
        for (uint32_t i = 0; !stop.load(); ++i) {
            switch (i % 8) {
                case 0:
                    engine.selectProgram(0, static_cast<int32_t>(random.next() % 8), true);
                    break;
                case 1: {
                    writeBank(engine, bank, true);
                    ByteReader reader(bank.bytes.data(), bank.bytes.size());
                    if (!readBank(engine, reader, i % 16 == 1)) fail("bank refused");
                    break;
                }
                case 2:
                    engine.storeProgram(static_cast<int32_t>(random.next() % 8));
                    break;
                case 3:
                    engine.setParameterNormalized(0, kChFx1Type, random.unit());
                    break;
                case 4: {
                    const int32_t index = someParameter(random.next());
                    engine.setParameterValue(0, index, engine.getParameterValue(0, index));
                    break;
                }
                case 5: {
                    DisplayTextBuffer text;
                    char name[kNameFieldSize];
                    engine.parameterDisplayText(0, someParameter(random.next()), text);
                    engine.programName(engine.currentProgram(0), name);
                    engine.setProgramName(static_cast<int32_t>(random.next() % 8), "Stress");
                    break;
                }
                default:
                    engine.setParameterNormalized(0, someParameter(random.next()), random.unit());
                    break;
            }
        }
    });

    // The editor's thread: its callbacks come and go, it stores, labels, selects inside its own
    // edit, writes banks and changes the other effect's type.
    std::thread editor([&] {
        Random random{0x2468ace1u};
        ByteStream bank;
        for (uint32_t i = 0; !stop.load(); ++i) {
            switch (i % 6) {
                case 0: {
                    auto* first = new CallbackContext;
                    auto* second = new CallbackContext;
                    first->tag = 1;
                    second->tag = 2;
                    engine.setParameterChangedCallback(&onParameterChanged<1>, first);
                    engine.setProgramChangedCallback(&onProgramChanged, first);
                    engine.setParameterValue(0, kParamGlide, makeFloatValue(0.0f));
                    engine.setParameterChangedCallback(&onParameterChanged<2>, second);
                    engine.setProgramChangedCallback(nullptr, nullptr);
                    first->alive.store(0);
                    delete first;
                    engine.setParameterChangedCallback(nullptr, nullptr);
                    engine.setTempoReader(i % 12 == 0 ? &tempoReader : nullptr, nullptr);
                    second->alive.store(0);
                    delete second;
                    break;
                }
                case 1: {
                    EditGuard::EditScope scope(engine.editGuard());
                    engine.selectProgram(0, static_cast<int32_t>(random.next() % 8), true);
                    break;
                }
                case 2:
                    writeBank(engine, bank, false);
                    break;
                case 3: {
                    DisplayTextBuffer label;
                    engine.parameterLabel(2 + static_cast<int32_t>(random.next() % 6), label);
                    engine.setParameterLabel(2 + static_cast<int32_t>(random.next() % 6), "Editor");
                    break;
                }
                case 4:
                    engine.setParameterNormalized(0, kChFx2Type, random.unit());
                    break;
                default:
                    engine.setParameterNormalized(0, someParameter(random.next()), random.unit());
                    engine.getParameterNormalized(0, someParameter(random.next()));
                    break;
            }
        }
    });

    std::this_thread::sleep_for(duration);
    stop.store(true);
    audio.join();
    host.join();
    editor.join();
}

// ---- the plug-in ------------------------------------------------------------------------------

VstTimeInfo timeInfo{};

VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&timeInfo);
    return 0;  // audioMasterAutomate and the rest: a host that takes note and does nothing now
}

void stressPlugin(std::chrono::milliseconds duration) {
    timeInfo.tempo = 120.0;
    timeInfo.sampleRate = 44100.0;
    timeInfo.flags = kVstTempoValid;
    AEffect* effect = VSTPluginMain(&hostCallback);
    if (effect == nullptr) {
        fail("no plug-in record");
        return;
    }
    auto* object = static_cast<TorvaneInterface*>(effect->object);
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    std::atomic<bool> stop{false};

    std::thread audio([&] {
        Random random{0x13579bdfu};
        std::vector<float> left(kBlock), right(kBlock);
        float* outputs[2] = {left.data(), right.data()};
        VstMidiEvent on{}, off{};
        on.type = off.type = kVstMidiType;
        on.byteSize = off.byteSize = sizeof(VstMidiEvent);
        VstEvents list{2, 0, {reinterpret_cast<VstEvent*>(&on), reinterpret_cast<VstEvent*>(&off)}};
        for (uint32_t i = 0; !stop.load(); ++i) {
            const auto note = static_cast<char>(48 + i % 12);
            on.midiData[0] = static_cast<char>(0x90);
            on.midiData[1] = note;
            on.midiData[2] = 90;
            off.midiData[0] = static_cast<char>(0x80);
            off.midiData[1] = static_cast<char>(note - 5);
            effect->dispatcher(effect, effProcessEvents, 0, 0, &list, 0.0f);
            for (int k = 0; k < 4; ++k)
                effect->setParameter(effect, someParameter(random.next()), random.unit());
            effect->processReplacing(effect, nullptr, outputs, kBlock);
            checkFinite(left.data(), kBlock);
        }
    });

    std::thread host([&] {
        Random random{0x0badf00du};
        std::vector<uint8_t> saved;
        char text[kHostStringSize];
        for (uint32_t i = 0; !stop.load(); ++i) {
            switch (i % 5) {
                case 0:
                    effect->dispatcher(effect, effSetProgram, 0, static_cast<VstIntPtr>(random.next() % 8),
                                       nullptr, 0.0f);
                    break;
                case 1: {
                    void* data = nullptr;
                    const VstIntPtr size = effect->dispatcher(effect, effGetChunk, 0, 0, &data, 0.0f);
                    if (size <= 0 || data == nullptr) {
                        fail("chunk not saved");
                        break;
                    }
                    const auto* bytes = static_cast<const uint8_t*>(data);
                    saved.assign(bytes, bytes + size);
                    break;
                }
                case 2:
                    if (!saved.empty() &&
                        effect->dispatcher(effect, effSetChunk, 0, static_cast<VstIntPtr>(saved.size()),
                                           saved.data(), 0.0f) != 1)
                        fail("chunk refused");
                    break;
                case 3:
                    effect->dispatcher(effect, effGetParamDisplay, someParameter(random.next()), 0, text,
                                       0.0f);
                    effect->dispatcher(effect, effGetProgramNameIndexed,
                                       static_cast<VstInt32>(random.next() % 128), 0, text, 0.0f);
                    break;
                default:
                    effect->setParameter(effect, someParameter(random.next()), random.unit());
                    break;
            }
        }
    });

    std::thread editor([&] {
        Random random{0x5eed5eedu};
        char text[kHostStringSize];
        for (uint32_t i = 0; !stop.load(); ++i) {
            switch (i % 4) {
                case 0:
                    object->reportEditorChange(someParameter(random.next()));
                    break;
                case 1: {
                    ERect* rect = nullptr;
                    effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
                    effect->dispatcher(effect, effGetParamDisplay, someParameter(random.next()), 0, text,
                                       0.0f);
                    break;
                }
                case 2:
                    effect->setParameter(effect, kChFx2Type, random.unit());
                    break;
                default:
                    effect->getParameter(effect, someParameter(random.next()));
                    effect->dispatcher(effect, effGetProgram, 0, 0, nullptr, 0.0f);
                    break;
            }
        }
    });

    std::this_thread::sleep_for(duration);
    stop.store(true);
    audio.join();
    host.join();
    editor.join();
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
}  // namespace quenvale

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    if (!(seconds > 0.0) || seconds > 3600.0) {
        std::fprintf(stderr, "usage: quenvale_threads_stress [SECONDS]\n");
        return 2;
    }
    const auto half = std::chrono::milliseconds(static_cast<long>(seconds * 500.0));
    quenvale::stressEngine(half);
    quenvale::stressPlugin(half);
    const int failed = quenvale::failures.load();
    std::printf("threads stress: %.1f s, %d failure(s)\n", seconds, failed);
    return failed == 0 ? 0 : 1;
}
