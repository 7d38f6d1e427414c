// Chunk reading and writing: refused until the program and bank format is in place.
#include "plugin/bank_chunk.h"

namespace quenvale {

bool writeBankChunk(SynthEngine&, std::vector<uint8_t>& out) {
    out.clear();
    return false;
}

bool readBankChunk(SynthEngine&, const uint8_t*, size_t) {
    return false;
}

}  // namespace quenvale
