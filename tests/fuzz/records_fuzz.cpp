// libFuzzer target: every reader of stored records (banks and chunks, programs, generator records,
// envelope and step-sequencer records) on arbitrary bytes. Refusal is fine; a crash, a sanitizer
// report or a runaway allocation is not.
#include <cstddef>
#include <cstdint>

#include "engine/curve/breakpoint_curve.h"
#include "engine/program.h"
#include "engine/seq/default_step_seq.h"
#include "engine/spectrum/generator.h"
#include "fuzz_input.h"
#include "persist/bank_record.h"
#include "persist/byte_reader.h"
#include "persist/envelope_record.h"
#include "persist/generator_record.h"
#include "persist/program_record.h"
#include "persist/step_seq_record.h"

using namespace quenvale;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t kind = data[0] % fuzz::kRecordKindCount;
    const uint32_t version = fuzz::kGeneratorVersions[data[1] % fuzz::kGeneratorVersionCount];
    ByteReader reader(data + 2, size - 2);
    switch (kind) {
        case fuzz::kBankRecord: {
            BankImage image;
            if (parseBankRecord(reader, image) && image.programs == nullptr) __builtin_trap();
            break;
        }
        case fuzz::kProgramRecord: {
            Program program;
            initProgram(program, "Fuzz");
            if (readProgram(program, reader) && program.version != kProgramVersion) __builtin_trap();
            break;
        }
        case fuzz::kGeneratorRecord: {
            Generator generator;
            if (readGenerator(generator, reader, version) &&
                selectorForPartialCount(generator.partialCount) < 0)
                __builtin_trap();
            break;
        }
        default: {
            BreakpointCurve curve;
            if (readEnvelopeRecord(reader, curve) && (curve.segmentCount < 0 || curve.segmentCount > 32))
                __builtin_trap();
            StepSeqBlock block = defaultStepSeqBlock();
            if (readStepSeqRecord(reader, block) && (block.lengthIndex < 0 || block.lengthIndex > 8))
                __builtin_trap();
            break;
        }
    }
    return 0;
}
