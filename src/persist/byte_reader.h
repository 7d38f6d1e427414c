// Bounded little-endian reading of stored records: every read checks the bytes that remain.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/byte_stream.h"

namespace quenvale {

// A read cursor over bytes it does not own. A read that would pass the end reads nothing, leaves the
// cursor where it was and returns false, so a truncated record is refused instead of over-read.
// Thread: [any], one reader per thread.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) noexcept : data_(data), size_(data != nullptr ? size : 0) {}
    // Reads a stream from its own cursor (a cursor past the end leaves nothing to read).
    explicit ByteReader(const ByteStream& stream) noexcept
        : data_(stream.bytes.data()), size_(stream.bytes.size()), position_(stream.cursor) {
        if (position_ > size_) position_ = size_;
    }

    size_t position() const noexcept { return position_; }
    size_t remaining() const noexcept { return size_ - position_; }
    // Whether count items of itemSize bytes each could still be read: the check made before anything
    // is allocated for them. Negative counts never fit.
    bool fits(int64_t count, size_t itemSize) const noexcept;

    bool readU32(uint32_t& value) noexcept;
    bool readI32(int32_t& value) noexcept;
    bool readF32(float& value) noexcept;
    // A stored flag: set when its lowest byte is non-zero.
    bool readFlag(bool& value) noexcept;
    bool readBytes(void* target, size_t count) noexcept;
    bool skip(size_t count) noexcept;
    // A pointer to the next count bytes, then skips them; null (and nothing skipped) when too few remain.
    const uint8_t* take(size_t count) noexcept;

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

}  // namespace quenvale
