// One stored program of the bank: name, macro names, 383 parameter values and component records.
#pragma once

#include <cstdint>

#include "common/byte_stream.h"
#include "common/capacity.h"
#include "params/parameter_value.h"

namespace quenvale {

inline constexpr uint32_t kProgramVersion = 0x10020;

// The component streams hold their records in the current layout; an empty stream stands for the
// component's defaults when the program is applied.
struct Program {
    uint32_t version = kProgramVersion;
    char name[kNameFieldSize] = {};
    char macroNames[kMacroCount][kNameFieldSize] = {};
    ParameterValue values[kParameterCount];
    ByteStream envelopeData[kEnvelopeCount];
    ByteStream stepSeqData[kStepSeqCount];
    ByteStream generatorData;
};

// [ui] A new program: version 0x10020, the given name (at most 16 characters), macro names
// "Macro1" … "Macro6", every value its catalogue default, every component stream empty.
void initProgram(Program& program, const char* name) noexcept;
// [ui] The new program of bank slot index (0 … 127): initProgram named "Program 001" … "Program 128".
void initSlotProgram(Program& program, int32_t index) noexcept;

// [any] Copies at most 16 characters of text into a 17-byte name field and terminates it; a null
// text gives an empty name.
void copyName(char (&field)[kNameFieldSize], const char* text) noexcept;

}  // namespace quenvale
