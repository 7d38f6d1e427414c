// Hands persistence's component-record readers and writers to the engine's program code.
#include "persist/program_codec.h"

#include "engine/program_apply.h"
#include "persist/component_streams.h"
#include "persist/envelope_record.h"
#include "persist/generator_record.h"
#include "persist/step_seq_record.h"

namespace quenvale {
namespace {

void writeEnvelopeStream(const BreakpointCurve& curve, ByteStream& stream) {
    writeEnvelopeRecord(curve, stream);
}
void writeStepSeqStream(const StepSeqBlock& block, ByteStream& stream) {
    writeStepSeqRecord(block, stream);
}
void writeGeneratorStream(const Generator& generator, ByteStream& stream) {
    writeGenerator(generator, stream);
}

constexpr ProgramStreamCodec kCodec{readEnvelopeStream, writeEnvelopeStream, readStepSeqStream,
                                    writeStepSeqStream, readGeneratorStream, writeGeneratorStream};

// Installed while the library loads, so that the editor's store command keeps the components even
// before any bank or chunk was touched.
[[maybe_unused]] const bool installedAtLoad = (installProgramStreamCodec(), true);

}  // namespace

void installProgramStreamCodec() noexcept {
    setProgramStreamCodec(&kCodec);
}

}  // namespace quenvale
