// Counts heap allocations made through any form of operator new while counting is switched on.
#pragma once

#include <cstddef>

namespace quenvale::test {

// Counts allocations made between construction and destruction (on any thread).
class AllocationCounter {
public:
    AllocationCounter() noexcept;
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    std::size_t count() const noexcept;
};

}  // namespace quenvale::test
