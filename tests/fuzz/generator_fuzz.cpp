// libFuzzer entry: the generator record reader of every stored version (the first byte picks the
// version) on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "engine/spectrum/generator.h"
#include "fuzz_input.h"
#include "persist/byte_reader.h"
#include "persist/generator_record.h"

using namespace quenvale;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > fuzz::kMaxRecordInput) return 0;
    const uint32_t version = fuzz::kGeneratorVersions[data[0] % fuzz::kGeneratorVersionCount];
    ByteReader reader(data + 1, size - 1);
    static Generator generator;
    if (readGenerator(generator, reader, version) && selectorForPartialCount(generator.partialCount) < 0)
        __builtin_trap();
    return 0;
}
