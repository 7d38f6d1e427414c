// libFuzzer entry: the step-sequencer record reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "engine/seq/default_step_seq.h"
#include "fuzz_input.h"
#include "persist/byte_reader.h"
#include "persist/step_seq_record.h"

using namespace quenvale;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > fuzz::kMaxRecordInput) return 0;
    ByteReader reader(data, size);
    StepSeqBlock block = defaultStepSeqBlock();
    if (readStepSeqRecord(reader, block) && (block.lengthIndex < 0 || block.lengthIndex > 8)) __builtin_trap();
    return 0;
}
