// The stored form of a step sequencer's steps: its Length and the (shape, value) pair of each step.
#pragma once

#include <cstdint>

#include "common/byte_stream.h"
#include "engine/seq/step_seq_block.h"
#include "persist/byte_reader.h"

namespace quenvale {

// [ui] The Length selector, then shape and value of each of the selected number of steps.
void writeStepSeqRecord(const StepSeqBlock& block, ByteStream& stream);

// [ui] Reads one record into block (only its Length, step count and steps; sync and "Out" are
// parameters of their own) and recomputes the ranges; block is changed only on success. A selector
// outside 0 … 8 reads as 3; a step shape outside 0 … 8 is kept as stored (the engine plays it as
// "Constant"); a record that ends early is refused. The record is the same in every version.
bool readStepSeqRecord(ByteReader& reader, StepSeqBlock& block) noexcept;

}  // namespace quenvale
