// New programs and name fields.
#include "engine/program.h"

#include <cstdio>
#include <cstring>

#include "params/parameter_catalogue.h"

namespace quenvale {

void copyName(char (&field)[kNameFieldSize], const char* text) noexcept {
    std::memset(field, 0, sizeof field);
    if (text == nullptr) return;
    for (int i = 0; i < kNameFieldSize - 1 && text[i] != '\0'; ++i) field[i] = text[i];
}

void initProgram(Program& program, const char* name) noexcept {
    program.version = kProgramVersion;
    copyName(program.name, name);
    for (int m = 0; m < kMacroCount; ++m) {
        char text[kNameFieldSize];
        std::snprintf(text, sizeof text, "Macro%d", m + 1);
        copyName(program.macroNames[m], text);
    }
    for (int32_t i = 0; i < kParameterCount; ++i) {
        // Only the default's number and kind: a new program's slots are empty.
        const ParameterValue& d = descriptor(i).defaultValue;
        ParameterValue v;
        v.number = d.number;
        v.kind = d.kind;
        program.values[i] = v;
    }
    for (ByteStream& s : program.envelopeData) s.clear();
    for (ByteStream& s : program.stepSeqData) s.clear();
    program.generatorData.clear();
}

void initSlotProgram(Program& program, int32_t index) noexcept {
    char name[24];
    std::snprintf(name, sizeof name, "Program %03d", static_cast<int>(index) + 1);
    initProgram(program, name);
}

}  // namespace quenvale
