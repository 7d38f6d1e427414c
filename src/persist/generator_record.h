// The stored form of the generator: partial-count selector and the four modulator trees.
//
// The record carries no version of its own: its reader is told the version of the record that holds
// it (a program's version, or the current one for generator data files). Writers always write the
// current layout.
#pragma once

#include <cstdint>

#include "common/byte_stream.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/modulator.h"
#include "params/mod_param.h"
#include "persist/byte_reader.h"

namespace quenvale {

// Layers nested deeper than this are refused: no editor makes such trees, and the evaluation and
// the reader both recurse once per level.
inline constexpr int32_t kMaxLayerDepth = 64;

// [ui] Base, slot count 2, then source and amount of each slot.
void writeModulatedValue(const ModParam& value, ByteStream& stream);
// [ui] Refuses a slot count other than 2. Slots come back with the stored source and amount,
// unbound and stale, so the engine binds them at their first evaluation. value is changed only on
// success.
bool readModulatedValue(ModParam& value, ByteReader& reader, uint32_t version) noexcept;

// [ui] Every field of the current layout, breakpoints with the values of the first partialCount
// partials, layers recursively.
void writeModulator(const Modulator& modulator, ByteStream& stream, int32_t partialCount);
// [ui] Reads the fields that version v stores into modulator, in record order; fields v does not
// store keep their values. Breakpoints and layers are replaced. On failure the modulator is partly
// replaced: read into a fresh modulator and keep it only on success. depth counts the layers above.
bool readModulator(Modulator& modulator, ByteReader& reader, uint32_t version, int32_t partialCount,
                   int32_t depth = 0);

// [ui]
void writeGenerator(const Generator& generator, ByteStream& stream);
// [ui] All or nothing: the record is read into a new generator, which replaces generator only when
// every part of it was read. A selector outside 0 … 3, a truncated record, a slot count other than
// 2, more than 33 key-mapping points and negative counts are refused. The top-level modulators keep
// their random phase curves. Replacing moves memory a voice may be reading: hold the engine's edit
// scope when generator is the live one.
bool readGenerator(Generator& generator, ByteReader& reader, uint32_t version);

}  // namespace quenvale
