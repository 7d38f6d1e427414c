// Applying and storing programs through the parameter routing.
#include "engine/program_apply.h"

#include <atomic>
#include <utility>

#include "engine/channel.h"
#include "engine/env/default_envelope.h"
#include "engine/program.h"
#include "engine/seq/default_step_seq.h"
#include "engine/seq/step_seq_ranges.h"
#include "engine/spectrum/generator.h"
#include "params/parameter_routing.h"

namespace quenvale {
namespace {

std::atomic<const ProgramStreamCodec*> installedCodec{nullptr};

void setDefaultGenerator(Generator& generator) {
    generator = Generator{};
}

}  // namespace

void setProgramStreamCodec(const ProgramStreamCodec* codec) noexcept {
    installedCodec.store(codec);
}

void setDefaultStepSeq(StepSeqBlock& block) noexcept {
    // Only what a step-sequencer record carries: Sync and Out are parameters of their own.
    const StepSeqBlock defaults = defaultStepSeqBlock();
    for (int32_t k = 0; k < kMaxSteps; ++k) {
        block.steps[k].shape = defaults.steps[k].shape;
        block.steps[k].start = defaults.steps[k].start;
    }
    setStepSeqLength(block, defaults.lengthIndex);
}

int32_t applyProgram(const Program& program, Channel& channel) {
    for (int32_t i = 0; i < kParameterCount; ++i) setParameter(channel, i, program.values[i]);
    const ProgramStreamCodec* codec = installedCodec.load();
    const bool reading = codec != nullptr;
    int32_t damaged = 0;
    for (int32_t k = 0; k < kEnvelopeCount; ++k) {
        const ByteStream& s = program.envelopeData[k];
        const bool read = !s.empty() && reading && codec->readEnvelope != nullptr &&
                          codec->readEnvelope(s, program.version, channel.env[k].curve);
        if (!read) channel.env[k].curve = defaultEnvelopeCurve();
        if (!read && !s.empty() && reading && codec->readEnvelope != nullptr) ++damaged;
    }
    for (int32_t k = 0; k < kStepSeqCount; ++k) {
        const ByteStream& s = program.stepSeqData[k];
        const bool read = !s.empty() && reading && codec->readStepSeq != nullptr &&
                          codec->readStepSeq(s, program.version, channel.stepSeq[k]);
        if (!read) setDefaultStepSeq(channel.stepSeq[k]);
        if (!read && !s.empty() && reading && codec->readStepSeq != nullptr) ++damaged;
    }
    const ByteStream& g = program.generatorData;
    if (g.empty() || !reading || codec->readGenerator == nullptr) {
        setDefaultGenerator(*channel.generator);
        return damaged;
    }
    // Read aside: a damaged record must neither leave the previous program's generator sounding nor
    // a half-read one; it gives the default generator and is counted.
    Generator loaded;
    if (codec->readGenerator(g, program.version, loaded)) {
        *channel.generator = std::move(loaded);
    } else {
        setDefaultGenerator(*channel.generator);
        ++damaged;
    }
    return damaged;
}

void storeProgram(Program& program, const Channel& channel) {
    for (int32_t i = 0; i < kParameterCount; ++i) program.values[i] = getParameter(channel, i);
    const ProgramStreamCodec* codec = installedCodec.load();
    for (int32_t k = 0; k < kEnvelopeCount; ++k) {
        program.envelopeData[k].clear();
        if (codec != nullptr && codec->writeEnvelope != nullptr)
            codec->writeEnvelope(channel.env[k].curve, program.envelopeData[k]);
    }
    for (int32_t k = 0; k < kStepSeqCount; ++k) {
        program.stepSeqData[k].clear();
        if (codec != nullptr && codec->writeStepSeq != nullptr)
            codec->writeStepSeq(channel.stepSeq[k], program.stepSeqData[k]);
    }
    program.generatorData.clear();
    if (codec != nullptr && codec->writeGenerator != nullptr)
        codec->writeGenerator(*channel.generator, program.generatorData);
}

}  // namespace quenvale
