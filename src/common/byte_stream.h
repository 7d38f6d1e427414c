// A growable byte buffer with a 32-bit cursor: the carrier of every binary record.
#pragma once

#include <cstdint>
#include <vector>

namespace quenvale {

// Writing stores at the cursor, grows the buffer as needed and advances the cursor; reading takes
// bytes at the cursor and advances it. An emptied stream has size 0 and cursor 0.
struct ByteStream {
    std::vector<uint8_t> bytes;
    uint32_t cursor = 0;

    // [ui]
    void clear() noexcept {
        bytes.clear();
        cursor = 0;
    }
    bool empty() const noexcept { return bytes.empty(); }
    uint32_t size() const noexcept { return static_cast<uint32_t>(bytes.size()); }
};

}  // namespace quenvale
