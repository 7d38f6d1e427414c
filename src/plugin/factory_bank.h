// The factory bank the plug-in carries inside itself (examples/factory.qpb, compiled in at build time),
// loaded into every new instance so that a host without a bank file still gets playable sounds.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quenvale {

class SynthEngine;

// The embedded bank file, byte for byte.
extern const uint8_t kFactoryBankBytes[];
extern const size_t kFactoryBankBytesSize;

// [ui] Reads the embedded bank into the engine's 128 programs (those the bank does not fill keep their
// "Program %03d" names and defaults) and selects the current program with its stored values. False,
// with the engine unchanged, if the bytes were not a readable bank.
bool loadFactoryBank(SynthEngine& engine);

}  // namespace quenvale
