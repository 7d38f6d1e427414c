// Little-endian writing into a ByteStream: stores at the cursor, grows the buffer, advances the cursor.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/byte_stream.h"

namespace quenvale {

// [ui] Each may throw std::bad_alloc when the buffer cannot grow.
void writeBytes(ByteStream& stream, const void* data, size_t count);
void writeU32(ByteStream& stream, uint32_t value);
void writeI32(ByteStream& stream, int32_t value);
void writeF32(ByteStream& stream, float value);
// 1 or 0.
void writeFlag(ByteStream& stream, bool value);
// A 32-bit byte count followed by the bytes of source (the whole stream, whatever its cursor).
void writeSizedStream(ByteStream& stream, const ByteStream& source);

}  // namespace quenvale
