// The bank of an engine as one stored record: host chunks (with the live channel) and bank files.
#pragma once

#include "common/byte_stream.h"
#include "engine/synth_engine.h"
#include "persist/byte_reader.h"

namespace quenvale {

// [ui] Empties the stream and writes the engine's 128 programs; with includeChannel, the live
// channel's state follows as a program named "Channel". Throws only std::bad_alloc.
void writeBank(SynthEngine& engine, ByteStream& stream, bool includeChannel);

// [ui] All or nothing: the whole record is read into temporary programs first; only when all of it
// was read are the programs swapped in, under the engine's edit scope, so a render in progress
// never meets half-replaced data. Then, with apply and a stored channel state, that state becomes
// the live sound and the current program is selected without loading; otherwise the current
// program is selected with its stored values applied. A refused record (wrong magic, a bank version
// of 0x10003 or more, anything truncated or malformed) changes nothing and returns false.
bool readBank(SynthEngine& engine, ByteReader& reader, bool apply);

}  // namespace quenvale
