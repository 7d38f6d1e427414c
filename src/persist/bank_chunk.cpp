// Host chunks: the whole bank followed by the live channel state, as one bank record.
#include "persist/bank_chunk.h"

#include "persist/bank_io.h"

namespace quenvale {

bool writeBankChunk(SynthEngine& engine, std::vector<uint8_t>& out) {
    ByteStream stream;
    writeBank(engine, stream, true);
    out.swap(stream.bytes);
    return true;
}

bool readBankChunk(SynthEngine& engine, const uint8_t* data, size_t size) {
    ByteReader reader(data, size);
    return readBank(engine, reader, true);
}

}  // namespace quenvale
