// Entering wide-vector code on a stack aligned for its registers.
#pragma once

namespace quenvale::simd {

// [any] Calls fn(context) with the stack pointer aligned to 64 bytes at the call.
//
// Why: the 64-bit Windows ABI promises only 16-byte stack alignment, and the compiler cannot realign the
// stack there (its unwind tables have no way to describe it), so 32- and 64-byte register spills land on
// slots that straddle cache lines and are slow. The wide kernels of the Windows build are compiled to
// assume a 64-byte aligned stack on entry, and are entered only through this call, which realigns the
// stack in a frame the unwinder understands. Everywhere else (Linux, where the compiler realigns the
// stack itself, and the 32-bit build) it is a plain call.
void callOnAlignedStack(void (*fn)(void*) noexcept, void* context) noexcept;

}  // namespace quenvale::simd
