// One float per partial, stored in 16-byte aligned groups of four.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace quenvale {

class PartialCurve {
public:
    // [ui] Allocates count / 4 zeroed groups.
    explicit PartialCurve(int32_t count = 0) : count_(count), groups_(count > 0 ? count / 4 : 0) {
        allocate();
    }
    PartialCurve(const PartialCurve& other) : count_(other.count_), groups_(other.groups_) {
        allocate();
        if (groups_ > 0) std::memcpy(values_, other.values_, static_cast<size_t>(groups_) * 16);
    }
    PartialCurve& operator=(const PartialCurve& other) {
        if (this != &other) {
            PartialCurve copy(other);
            swap(copy);
        }
        return *this;
    }
    PartialCurve(PartialCurve&& other) noexcept { swap(other); }
    PartialCurve& operator=(PartialCurve&& other) noexcept {
        swap(other);
        return *this;
    }
    ~PartialCurve() {
        if (values_ != nullptr) ::operator delete(values_, std::align_val_t{16});
    }

    void swap(PartialCurve& other) noexcept {
        std::swap(count_, other.count_);
        std::swap(groups_, other.groups_);
        std::swap(values_, other.values_);
    }

    int32_t count() const noexcept { return count_; }
    int32_t groups() const noexcept { return groups_; }
    int32_t size() const noexcept { return groups_ * 4; }
    float* data() noexcept { return values_; }
    const float* data() const noexcept { return values_; }
    float& operator[](int32_t k) noexcept { return values_[k]; }
    float operator[](int32_t k) const noexcept { return values_[k]; }

    // [any] Copies groups × 16 bytes between curves of equal group count.
    void copyFrom(const PartialCurve& other) noexcept {
        if (groups_ == other.groups_ && groups_ > 0)
            std::memcpy(values_, other.values_, static_cast<size_t>(groups_) * 16);
    }
    void clear() noexcept {
        if (groups_ > 0) std::memset(values_, 0, static_cast<size_t>(groups_) * 16);
    }

private:
    void allocate() {
        if (groups_ <= 0) return;
        const size_t bytes = static_cast<size_t>(groups_) * 16;
        values_ = static_cast<float*>(::operator new(bytes, std::align_val_t{16}));
        std::memset(values_, 0, bytes);
    }

    int32_t count_ = 0;
    int32_t groups_ = 0;
    float* values_ = nullptr;
};

}  // namespace quenvale
