// Parameter fields shared between threads without locks: relaxed atomic loads and stores of plain
// 32-bit (or pointer, or bool) fields. On x86 they are the same plain moves as before; they make the
// sharing defined behaviour and visible to ThreadSanitizer.
#pragma once

#include <atomic>

namespace quenvale {

// [any]
template <class T>
T loadRelaxed(const T& field) noexcept {
    return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
}

// [any]
template <class T>
void storeRelaxed(T& field, T value) noexcept {
    std::atomic_ref<T>(field).store(value, std::memory_order_relaxed);
}

}  // namespace quenvale
