// Generator data files (*.qgd): a 4-byte tag followed by a generator record in the current layout.
#pragma once

#include "common/byte_stream.h"
#include "engine/spectrum/generator.h"

namespace quenvale {

// [ui] Writes the tag and the record to path (created or truncated). False when the file cannot be
// written.
bool saveGeneratorData(const Generator& generator, const char* path);
// [ui] The same for a generator record already written into record.
bool saveGeneratorRecord(const ByteStream& record, const char* path);

// [ui] All or nothing: false, with generator unchanged, when the file cannot be read, does not start
// with the tag 01 00 01 00, or holds a record that cannot be read whole. Hold the engine's edit scope
// when generator is the live one (see loadGeneratorFile for the engine-level form).
bool loadGeneratorData(Generator& generator, const char* path);

}  // namespace quenvale
