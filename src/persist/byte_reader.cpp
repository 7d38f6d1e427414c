// Bounded little-endian reading of stored records.
#include "persist/byte_reader.h"

#include <bit>
#include <cstring>

namespace quenvale {

bool ByteReader::fits(int64_t count, size_t itemSize) const noexcept {
    if (count < 0) return false;
    if (count == 0 || itemSize == 0) return true;
    return static_cast<uint64_t>(count) <= remaining() / itemSize;
}

bool ByteReader::readU32(uint32_t& value) noexcept {
    const uint8_t* p = take(4);
    if (p == nullptr) return false;
    value = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
            (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return true;
}

bool ByteReader::readI32(int32_t& value) noexcept {
    uint32_t bits = 0;
    if (!readU32(bits)) return false;
    value = std::bit_cast<int32_t>(bits);
    return true;
}

bool ByteReader::readF32(float& value) noexcept {
    uint32_t bits = 0;
    if (!readU32(bits)) return false;
    value = std::bit_cast<float>(bits);
    return true;
}

bool ByteReader::readFlag(bool& value) noexcept {
    uint32_t bits = 0;
    if (!readU32(bits)) return false;
    value = (bits & 0xFFu) != 0;
    return true;
}

bool ByteReader::readBytes(void* target, size_t count) noexcept {
    const uint8_t* p = take(count);
    if (p == nullptr) return false;
    if (count > 0) std::memcpy(target, p, count);
    return true;
}

bool ByteReader::skip(size_t count) noexcept {
    return take(count) != nullptr;
}

const uint8_t* ByteReader::take(size_t count) noexcept {
    if (count > remaining()) return nullptr;
    const uint8_t* p = data_ + position_;
    position_ += count;
    return p;
}

}  // namespace quenvale
