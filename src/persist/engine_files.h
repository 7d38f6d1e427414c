// The editor's and tools' file commands on a whole engine: bank files (*.qpb) and generator data
// files (*.qgd).
#pragma once

#include "engine/synth_engine.h"

namespace quenvale {

// [ui] Writes the 128 programs (no channel state) into path in one piece (created or truncated).
// False when the file cannot be written.
bool saveBankFile(SynthEngine& engine, const char* path);

// [ui] Reads path in one piece and loads it as a bank; the current program is then selected with
// its stored values applied. False, with every program and the live sound as they were, when the
// file cannot be read or is not a bank this version can read.
bool loadBankFile(SynthEngine& engine, const char* path);

// [ui] The live generator to a generator data file.
bool saveGeneratorFile(SynthEngine& engine, const char* path);

// [ui] Replaces the live generator from a generator data file, under the engine's edit scope, and
// rebuilds the voices' spectrum states. False, with the generator as it was, when the file cannot be
// read or holds no readable record.
bool loadGeneratorFile(SynthEngine& engine, const char* path);

}  // namespace quenvale
