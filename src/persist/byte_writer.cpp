// Little-endian writing into a ByteStream.
#include "persist/byte_writer.h"

#include <bit>
#include <cstring>

namespace quenvale {

void writeBytes(ByteStream& stream, const void* data, size_t count) {
    if (count == 0) return;
    const size_t end = static_cast<size_t>(stream.cursor) + count;
    if (end > stream.bytes.size()) stream.bytes.resize(end);
    std::memcpy(stream.bytes.data() + stream.cursor, data, count);
    stream.cursor = static_cast<uint32_t>(end);
}

void writeU32(ByteStream& stream, uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    writeBytes(stream, bytes, 4);
}

void writeI32(ByteStream& stream, int32_t value) {
    writeU32(stream, std::bit_cast<uint32_t>(value));
}

void writeF32(ByteStream& stream, float value) {
    writeU32(stream, std::bit_cast<uint32_t>(value));
}

void writeFlag(ByteStream& stream, bool value) {
    writeU32(stream, value ? 1u : 0u);
}

void writeSizedStream(ByteStream& stream, const ByteStream& source) {
    writeU32(stream, source.size());
    writeBytes(stream, source.bytes.data(), source.bytes.size());
}

}  // namespace quenvale
