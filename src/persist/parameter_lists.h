// Which parameter each stored value of a program record belongs to, for every readable version.
#pragma once

#include <cstdint>

namespace quenvale {

// An entry that older versions stored but that no longer exists: read and thrown away.
inline constexpr int16_t kDiscardedEntry = -1;

struct ParameterList {
    const int16_t* entries = nullptr;  // parameter indices, or kDiscardedEntry
    int32_t count = 0;                 // 0 for a version that is not readable
};

// [any] The list of a program version, in record order.
ParameterList parameterList(uint32_t version) noexcept;

}  // namespace quenvale
