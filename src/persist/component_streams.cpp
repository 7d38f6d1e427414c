// Checking and upgrading the component records of a program.
#include "persist/component_streams.h"

#include "engine/env/default_envelope.h"
#include "engine/seq/default_step_seq.h"
#include "persist/byte_reader.h"
#include "persist/envelope_record.h"
#include "persist/generator_record.h"
#include "persist/step_seq_record.h"

namespace quenvale {

bool readEnvelopeStream(const ByteStream& stream, uint32_t, BreakpointCurve& curve) {
    ByteReader reader(stream.bytes.data(), stream.bytes.size());
    return readEnvelopeRecord(reader, curve);
}

bool readStepSeqStream(const ByteStream& stream, uint32_t, StepSeqBlock& block) {
    ByteReader reader(stream.bytes.data(), stream.bytes.size());
    return readStepSeqRecord(reader, block);
}

bool readGeneratorStream(const ByteStream& stream, uint32_t version, Generator& generator) {
    ByteReader reader(stream.bytes.data(), stream.bytes.size());
    return readGenerator(generator, reader, version);
}

bool upgradeComponentStreams(Program& program, uint32_t version) {
    const bool rewrite = version < kProgramVersion;
    for (ByteStream& s : program.envelopeData) {
        if (s.empty()) continue;
        BreakpointCurve curve = defaultEnvelopeCurve();
        if (!readEnvelopeStream(s, version, curve)) return false;
        if (rewrite) {
            s.clear();
            writeEnvelopeRecord(curve, s);
        }
    }
    for (ByteStream& s : program.stepSeqData) {
        if (s.empty()) continue;
        StepSeqBlock block = defaultStepSeqBlock();
        if (!readStepSeqStream(s, version, block)) return false;
        if (rewrite) {
            s.clear();
            writeStepSeqRecord(block, s);
        }
    }
    if (!program.generatorData.empty()) {
        Generator generator;
        if (!readGeneratorStream(program.generatorData, version, generator)) return false;
        if (rewrite) {
            program.generatorData.clear();
            writeGenerator(generator, program.generatorData);
        }
    }
    return true;
}

}  // namespace quenvale
