// Checking and upgrading the component records (envelopes, step sequencers, generator) of a program.
#pragma once

#include <cstdint>

#include "common/byte_stream.h"
#include "engine/curve/breakpoint_curve.h"
#include "engine/program.h"
#include "engine/seq/step_seq_block.h"
#include "engine/spectrum/generator.h"

namespace quenvale {

// [ui] Reads every non-empty component stream of program with version; false when one cannot be
// read. Streams of older versions are rewritten in the current layout; current ones keep their bytes.
bool upgradeComponentStreams(Program& program, uint32_t version);

// Readers of one component stream (from its first byte), changing the target only on success.
// [ui]
bool readEnvelopeStream(const ByteStream& stream, uint32_t version, BreakpointCurve& curve);
bool readStepSeqStream(const ByteStream& stream, uint32_t version, StepSeqBlock& block);
bool readGeneratorStream(const ByteStream& stream, uint32_t version, Generator& generator);

}  // namespace quenvale
