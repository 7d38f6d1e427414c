// libFuzzer entry: the host chunk reader on one engine, as a host's setChunk reaches it (whether a
// refused chunk leaves the engine as it was is the plug-in tests' concern; this looks for crashes).
#include <cstddef>
#include <cstdint>

#include "engine/synth_engine.h"
#include "fuzz_input.h"
#include "persist/bank_chunk.h"

using namespace quenvale;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > fuzz::kMaxBankInput) return 0;
    static SynthEngine engine;
    readBankChunk(engine, data, size);
    return 0;
}
