// The misaligned-stack check of quenvale-host-check.
#include "misaligned_calls.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "plugin/vst2_abi.h"
#include "plugin_host.h"

namespace quenvale::hostcheck {

#if defined(__i386__) && defined(__GNUC__)

namespace {

using AnyFunction = void (*)();

}  // namespace

// Calls function (cdecl) with count 32-bit arguments, the stack pointer `offset` bytes below a multiple
// of 16 at the call, and answers what it left in eax. The second routine answers the stack pointer it
// is entered with, so the first can be checked.
extern "C" uint32_t quenvaleCallOffset(AnyFunction function, const uint32_t* args, int32_t count,
                                       int32_t offset) __asm__("quenvale_call_offset");
extern "C" uint32_t quenvaleStackAtEntry() __asm__("quenvale_stack_at_entry");

__asm__(
    ".text\n"
    ".p2align 4\n"
    "quenvale_call_offset:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %esi\n"
    "  movl 12(%ebp), %esi\n"  // args
    "  movl 16(%ebp), %ecx\n"  // count
    "  andl $-16, %esp\n"
    "  leal (,%ecx,4), %eax\n"
    "  negl %eax\n"
    "  andl $15, %eax\n"  // padding that makes the arguments end on a multiple of 16 ...
    "  subl %eax, %esp\n"
    "  subl 20(%ebp), %esp\n"  // ... less the offset
    "1:\n"
    "  testl %ecx, %ecx\n"
    "  jz 2f\n"
    "  pushl -4(%esi,%ecx,4)\n"
    "  decl %ecx\n"
    "  jmp 1b\n"
    "2:\n"
    "  call *8(%ebp)\n"
    "  leal -4(%ebp), %esp\n"
    "  popl %esi\n"
    "  popl %ebp\n"
    "  ret\n"
    ".p2align 4\n"
    "quenvale_stack_at_entry:\n"
    "  movl %esp, %eax\n"
    "  ret\n");

namespace {

constexpr int kBlock = 512;
constexpr int kHeldBlocks = 24;
constexpr int kReleaseBlocks = 8;

VstIntPtr VSTCALLBACK answerHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

uint32_t word(const void* pointer) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

template <class Result, class... Args>
uint32_t word(Result (*function)(Args...)) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(function));
}

uint32_t word(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

template <class Function>
uint32_t callAt(int32_t offset, Function function, std::initializer_list<uint32_t> args) {
    return quenvaleCallOffset(reinterpret_cast<AnyFunction>(function), args.begin(),
                              static_cast<int32_t>(args.size()), offset);
}

struct Run {
    std::vector<float> samples;  // left and right of every block, one after the other
    std::vector<char> chunk;
    std::string problem;
};

// One instance's life, every call made at offset.
Run play(host::EntryFunction entry, int32_t offset) {
    Run run;
    auto* effect = reinterpret_cast<AEffect*>(callAt(offset, entry, {word(&answerHost)}));
    if (effect == nullptr || effect->magic != kEffectMagic) {
        run.problem = "VSTPluginMain gave no plug-in record";
        return run;
    }
    const auto dispatch = [&](VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
        return static_cast<VstIntPtr>(
            callAt(offset, effect->dispatcher,
                   {word(effect), static_cast<uint32_t>(opcode), static_cast<uint32_t>(index),
                    static_cast<uint32_t>(value), word(ptr), word(opt)}));
    };
    std::vector<float> left(kBlock), right(kBlock), silence(kBlock, 0.0f);
    float* inputs[2] = {silence.data(), silence.data()};
    float* outputs[2] = {left.data(), right.data()};
    const auto render = [&](int blocks) {
        for (int b = 0; b < blocks; ++b) {
            callAt(offset, effect->processReplacing,
                   {word(effect), word(inputs), word(outputs), static_cast<uint32_t>(kBlock)});
            run.samples.insert(run.samples.end(), left.begin(), left.end());
            run.samples.insert(run.samples.end(), right.begin(), right.end());
        }
    };
    const auto send = [&](uint8_t status, std::initializer_list<uint8_t> notes) {
        std::vector<VstMidiEvent> events;
        for (const uint8_t note : notes) events.push_back(host::PluginHost::midiEvent(status, note, 100));
        std::vector<std::byte> storage(offsetof(VstEvents, events) + (events.size() + 2) * sizeof(VstEvent*));
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = static_cast<VstInt32>(events.size());
        list->reserved = 0;
        for (size_t i = 0; i < events.size(); ++i) list->events[i] = reinterpret_cast<VstEvent*>(&events[i]);
        dispatch(effProcessEvents, 0, 0, list, 0.0f);
    };

    dispatch(effOpen, 0, 0, nullptr, 0.0f);
    dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
    callAt(offset, effect->setParameter, {word(effect), 0u, word(0.75f)});
    send(0x90, {48, 55, 60, 64});
    render(kHeldBlocks);
    // The program's chunk, given back: the plug-in reads and writes records at this alignment too.
    void* chunk = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, 1, 0, &chunk, 0.0f);
    if (size <= 0 || chunk == nullptr) {
        run.problem = "effGetChunk gave no program chunk";
    } else {
        const char* bytes = static_cast<const char*>(chunk);
        run.chunk.assign(bytes, bytes + size);
        std::vector<char> copy(run.chunk);
        if (dispatch(effSetChunk, 1, size, copy.data(), 0.0f) != 1)
            run.problem = "effSetChunk refused the chunk";
    }
    send(0x80, {48, 55, 60, 64});
    render(kReleaseBlocks);
    dispatch(effMainsChanged, 0, 0, nullptr, 0.0f);
    dispatch(effClose, 0, 0, nullptr, 0.0f);
    return run;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace

bool misalignedCallsApply() noexcept {
    return true;
}

std::vector<std::string> checkMisalignedCalls(host::EntryFunction entry) {
    std::vector<std::string> problems;
    for (const int32_t offset : {4, 8, 12}) {
        const uint32_t at = callAt(offset, &quenvaleStackAtEntry, {});
        if (((at + 4 + static_cast<uint32_t>(offset)) & 15u) != 0)
            problems.push_back("the stack-offset call itself is wrong at offset " + std::to_string(offset));
    }
    if (!problems.empty()) return problems;

    const Run aligned = play(entry, 0);
    if (!aligned.problem.empty()) problems.push_back("aligned stack: " + aligned.problem);
    float peak = 0.0f;
    for (const float s : aligned.samples) {
        if (!std::isfinite(s)) {
            problems.push_back("aligned stack: the chord rendered a non-finite sample");
            break;
        }
        peak = std::fmax(peak, std::fabs(s));
    }
    if (peak < 1e-3f) problems.push_back("aligned stack: the chord was silent");
    for (const int32_t offset : {4, 8, 12}) {
        const Run off = play(entry, offset);
        const std::string where = "stack " + std::to_string(offset) + " bytes off alignment: ";
        if (!off.problem.empty()) problems.push_back(where + off.problem);
        if (!sameBits(off.samples, aligned.samples))
            problems.push_back(where + "the chord rendered differently from the aligned run");
        if (off.chunk != aligned.chunk)
            problems.push_back(where + "the program chunk differs from the aligned run's");
    }
    return problems;
}

#else

bool misalignedCallsApply() noexcept {
    return false;
}

std::vector<std::string> checkMisalignedCalls(host::EntryFunction) {
    return {};
}

#endif

}  // namespace quenvale::hostcheck
