// The stored form of a step sequencer's steps.
#include "persist/step_seq_record.h"

#include "engine/seq/step_seq_ranges.h"
#include "params/relaxed_field.h"
#include "persist/byte_writer.h"

namespace quenvale {
namespace {

constexpr int32_t kDefaultLengthIndex = 3;

int32_t validLengthIndex(int32_t index) noexcept {
    return (index >= 0 && index <= 8) ? index : kDefaultLengthIndex;
}

}  // namespace

void writeStepSeqRecord(const StepSeqBlock& block, ByteStream& stream) {
    const int32_t index = validLengthIndex(loadRelaxed(block.lengthIndex));
    writeI32(stream, index);
    for (int32_t k = 0; k < kStepCounts[index]; ++k) {
        writeI32(stream, block.steps[k].shape);
        writeF32(stream, block.steps[k].start);
    }
}

bool readStepSeqRecord(ByteReader& reader, StepSeqBlock& block) noexcept {
    int32_t index = 0;
    if (!reader.readI32(index)) return false;
    index = validLengthIndex(index);
    const int32_t count = kStepCounts[index];
    Step steps[kMaxSteps];
    for (int32_t k = 0; k < count; ++k)
        if (!reader.readI32(steps[k].shape) || !reader.readF32(steps[k].start)) return false;
    for (int32_t k = 0; k < count; ++k) {
        block.steps[k].shape = steps[k].shape;
        block.steps[k].start = steps[k].start;
    }
    setStepSeqLength(block, index);
    return true;
}

}  // namespace quenvale
