// libFuzzer entry: the program record reader (and through it the component and generator streams of
// every stored version) on arbitrary bytes. Refusal is fine; a crash, a sanitizer report or a runaway
// allocation is not.
#include <cstddef>
#include <cstdint>

#include "engine/program.h"
#include "fuzz_input.h"
#include "persist/byte_reader.h"
#include "persist/program_record.h"

using namespace quenvale;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > fuzz::kMaxRecordInput) return 0;
    ByteReader reader(data, size);
    static Program program;
    initProgram(program, "Fuzz");
    if (readProgram(program, reader) && program.version != kProgramVersion) __builtin_trap();
    return 0;
}
