// The stored form of a bank: magic, bank version, 128 programs, and optionally the live channel's
// state as one more program named "Channel".
#pragma once

#include <memory>

#include "common/byte_stream.h"
#include "common/capacity.h"
#include "engine/program.h"
#include "persist/byte_reader.h"

namespace quenvale {

// A bank read in full before anything live is touched.
struct BankImage {
    std::unique_ptr<Program[]> programs;
    std::unique_ptr<Program> channel;  // null when the record holds no channel state
};

// [ui] Empties the stream and writes the bank record of programs[0 … 127], then the channel flag and,
// when channelState is given, its program record.
void writeBankRecord(const Program* programs, const Program* channelState, ByteStream& stream);

// [ui] Reads a whole bank record. Refused (false, image untouched): a magic other than 0x13051982,
// a bank version of 0x10003 or more, and any program record that cannot be read whole. A bank
// version below 0x10002 has no channel flag.
bool parseBankRecord(ByteReader& reader, BankImage& image);

}  // namespace quenvale
