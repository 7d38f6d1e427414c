// The VST 2 binary interface between a host and a plug-in: records, function types, opcodes and flags.
//
// Written from the published binary layout; the only place in the project that knows it. Shared by the
// plug-in, the test host and the command-line tools. Pointer-sized fields follow the platform's pointer
// width, so the same declarations give the 32-bit and the 64-bit layouts (pinned below).
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

extern "C" {

using VstInt16 = int16_t;
using VstInt32 = int32_t;
using VstIntPtr = intptr_t;

struct AEffect;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                    VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                      VstIntPtr value, void* ptr, float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index, float parameter);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

// The record a plug-in hands to its host. Interface level 2.3: no double-precision entry, the tail
// after processReplacing is reserved.
struct AEffect {
    VstInt32 magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object;
    void* user;
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    char future[60];
};

// Header shared by every event the host sends.
struct VstEvent {
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    char data[16];
};

// A variable-length list: the host allocates room for numEvents pointers.
struct VstEvents {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2];
};

struct VstMidiEvent {
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 noteLength;
    VstInt32 noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    VstInt32 timeSigNumerator;
    VstInt32 timeSigDenominator;
    VstInt32 smpteOffset;
    VstInt32 smpteFrameRate;
    VstInt32 samplesToNextClock;
    VstInt32 flags;
};

struct ERect {
    VstInt16 top;
    VstInt16 left;
    VstInt16 bottom;
    VstInt16 right;
};

}  // extern "C"

// Four characters as one 32-bit number, first character in the most significant byte.
constexpr VstInt32 vstFourCC(char a, char b, char c, char d) {
    return static_cast<VstInt32>((static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) |
                                 (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16) |
                                 (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) |
                                 static_cast<uint32_t>(static_cast<uint8_t>(d)));
}

inline constexpr VstInt32 kEffectMagic = vstFourCC('V', 's', 't', 'P');

// Plug-in opcodes (host to plug-in dispatcher), interface level 2.3 ends at effCanDo.
enum AEffectOpcodes : VstInt32 {
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effGetVu = 9,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditDraw = 16,
    effEditMouse = 17,
    effEditKey = 18,
    effEditIdle = 19,
    effEditTop = 20,
    effEditSleep = 21,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetNumProgramCategories = 28,
    effGetProgramNameIndexed = 29,
    effCopyProgram = 30,
    effConnectInput = 31,
    effConnectOutput = 32,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effGetCurrentPosition = 36,
    effGetDestinationBuffer = 37,
    effOfflineNotify = 38,
    effOfflinePrepare = 39,
    effOfflineRun = 40,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42,
    effSetBlockSizeAndSampleRate = 43,
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetErrorText = 46,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    // Later interface levels; this plug-in answers none of them.
    effGetTailSize = 52,
    effGetVstVersion = 58,
};

// Host opcodes (plug-in to host callback) that this project uses.
enum AudioMasterOpcodes : VstInt32 {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterGetTime = 7,
    audioMasterBeginEdit = 43,  // the user starts dragging a control (index: the parameter)
    audioMasterEndEdit = 44,    // … and lets go
};

enum VstAEffectFlags : VstInt32 {
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,
    effFlagsHasVu = 1 << 2,
    effFlagsCanMono = 1 << 3,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
};

enum VstEventTypes : VstInt32 {
    kVstMidiType = 1,
    kVstSysExType = 6,
};

enum VstTimeInfoFlags : VstInt32 {
    kVstTransportPlaying = 1 << 1,
    kVstTempoValid = 1 << 10,
};

// Layout pins: the host reads these records by offset.
static_assert(sizeof(VstEvent) == 32);
static_assert(sizeof(VstMidiEvent) == 32);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(sizeof(VstTimeInfo) == 88);
static_assert(offsetof(VstTimeInfo, tempo) == 32);
static_assert(offsetof(VstTimeInfo, flags) == 84);
static_assert(sizeof(ERect) == 8);
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "only 32-bit and 64-bit layouts exist");
static_assert(sizeof(void*) != 4 ||
              (offsetof(AEffect, dispatcher) == 4 && offsetof(AEffect, numPrograms) == 20 &&
               offsetof(AEffect, flags) == 36 && offsetof(AEffect, resvd1) == 40 &&
               offsetof(AEffect, initialDelay) == 48 && offsetof(AEffect, ioRatio) == 60 &&
               offsetof(AEffect, object) == 64 && offsetof(AEffect, uniqueID) == 72 &&
               offsetof(AEffect, processReplacing) == 80 && offsetof(AEffect, future) == 84 &&
               sizeof(AEffect) == 144));
static_assert(sizeof(void*) != 8 ||
              (offsetof(AEffect, dispatcher) == 8 && offsetof(AEffect, numPrograms) == 40 &&
               offsetof(AEffect, flags) == 56 && offsetof(AEffect, resvd1) == 64 &&
               offsetof(AEffect, initialDelay) == 80 && offsetof(AEffect, ioRatio) == 92 &&
               offsetof(AEffect, object) == 96 && offsetof(AEffect, uniqueID) == 112 &&
               offsetof(AEffect, processReplacing) == 120 && offsetof(AEffect, future) == 128 &&
               sizeof(AEffect) == 192));
static_assert(sizeof(void*) != 4 || (offsetof(VstEvents, events) == 8 && sizeof(VstEvents) == 16));
static_assert(sizeof(void*) != 8 || (offsetof(VstEvents, events) == 16 && sizeof(VstEvents) == 32));
