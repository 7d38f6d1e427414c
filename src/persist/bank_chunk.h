// Host chunks of every plug-in format: the whole bank followed by the live channel state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quenvale {

class SynthEngine;

// Bytes every chunk starts with (magic number and format version).
inline constexpr size_t kChunkHeaderSize = 8;

// [ui] Writes the bank and the channel state into out (emptied first). False when nothing could be written.
bool writeBankChunk(SynthEngine& engine, std::vector<uint8_t>& out);

// [ui] Replaces the bank and, when the chunk holds one, the live channel state. False, with the engine
// unchanged, when the bytes are not a chunk this version can read.
bool readBankChunk(SynthEngine& engine, const uint8_t* data, size_t size);

}  // namespace quenvale
