// The dispatcher's opcode table: each host request, its action and its answer.
#include <cmath>

#include "common/debug_output.h"
#include "plugin/can_do.h"
#include "plugin/host_strings.h"
#include "plugin/parameter_name.h"
#include "plugin/torvane_interface.h"

namespace quenvale {

namespace {

constexpr VstInt32 kLastKnownOpcode = effCanDo;

bool validParameter(VstInt32 index) noexcept {
    return index >= 0 && index < kParameterCount;
}
bool validProgram(VstIntPtr program) noexcept {
    return program >= 0 && program < kProgramCount;
}

// An index outside the table leaves an empty string and answers 0.
VstIntPtr refuseText(void* ptr) noexcept {
    copyToHost(ptr, "");
    return 0;
}

}  // namespace

VstIntPtr TorvaneInterface::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                       float opt) {
    if (opcode < 0 || opcode > kLastKnownOpcode) return 0;
    switch (opcode) {
        case effOpen:
        case effClose:
            return 1;
        case effSetProgram:
            if (!validProgram(value)) return 0;
            if (!engine_.selectProgram(0, static_cast<int32_t>(value), !chunkJustLoaded_.load()))
                debugPrintf("Program %d: a damaged component record was replaced by its defaults\n",
                            static_cast<int>(value));
            return 1;
        case effGetProgram:
            return engine_.currentProgram(0);
        case effSetProgramName: {
            if (ptr == nullptr) return 0;
            char name[kNameFieldSize];
            copyNameFromHost(name, ptr);
            engine_.setProgramName(engine_.currentProgram(0), name);
            return 1;
        }
        case effGetProgramName: {
            char name[kNameFieldSize];
            return copyToHost(ptr, engine_.programName(engine_.currentProgram(0), name)) ? 1 : 0;
        }
        case effGetParamLabel:
            copyToHost(ptr, "");
            return 0;
        case effGetParamDisplay: {
            if (!validParameter(index)) return refuseText(ptr);
            DisplayTextBuffer text;
            return copyToHost(ptr, engine_.parameterDisplayText(0, index, text)) ? 1 : 0;
        }
        case effGetParamName: {
            if (!validParameter(index)) return refuseText(ptr);
            char scratch[kHostStringSize];
            return copyToHost(ptr, parameterName(index, scratch)) ? 1 : 0;
        }
        case effSetSampleRate:
            // A rate of zero or below would put infinities into every rate-derived value.
            if (!std::isfinite(opt) || opt <= 0.0f) return 0;
            engine_.setSampleRate(opt);
            return 1;
        case effSetBlockSize:
            return 1;
        case effMainsChanged:
            if (value >= 1) chunkJustLoaded_.store(false);
            if (value == 0) reportDroppedMidi();
            return 1;
        case effEditGetRect:
        case effEditOpen:
        case effEditClose:
        case effEditDraw:
            return editorOpcode(opcode, index, value, ptr, opt);
        case effIdentify:
            return vstFourCC('N', 'v', 'E', 'f');
        case effGetChunk:
            return getChunk(ptr);
        case effSetChunk:
            return setChunk(ptr, value);
        case effProcessEvents:
            return processEvents(static_cast<VstEvents*>(ptr));
        case effCanBeAutomated:
            return validParameter(index) ? 1 : 0;
        case effGetProgramNameIndexed: {
            if (!validProgram(index)) return refuseText(ptr);
            char name[kNameFieldSize];
            return copyToHost(ptr, engine_.programName(index, name)) ? 1 : 0;
        }
        case effCanDo:
            return canDo(static_cast<const char*>(ptr));
        default:
            return 0;
    }
}

}  // namespace quenvale
