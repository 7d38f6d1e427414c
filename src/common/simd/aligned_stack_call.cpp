// The 64-byte aligned call: a small assembly frame on 64-bit Windows, a plain call elsewhere.
#include "common/simd/aligned_stack_call.h"

#if defined(_WIN32) && defined(__x86_64__)
// quenvale_call_on_aligned_stack(fn in rcx, context in rdx): a frame-pointer frame (described to the
// unwinder with .seh_setframe, so exceptions and debuggers walk through it), the stack pointer rounded
// down to 64 bytes, 32 bytes of the callee's home area kept (64 to stay aligned), fn(context) called.
asm(R"(
    .text
    .p2align 4
    .globl quenvale_call_on_aligned_stack
    .def quenvale_call_on_aligned_stack; .scl 2; .type 32; .endef
    .seh_proc quenvale_call_on_aligned_stack
quenvale_call_on_aligned_stack:
    pushq %rbp
    .seh_pushreg %rbp
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    .seh_endprologue
    andq $-64, %rsp
    subq $64, %rsp
    movq %rcx, %rax
    movq %rdx, %rcx
    callq *%rax
    leaq 0(%rbp), %rsp
    popq %rbp
    ret
    .seh_endproc
)");

extern "C" void quenvale_call_on_aligned_stack(void (*fn)(void*) noexcept, void* context) noexcept;
#endif

namespace quenvale::simd {

void callOnAlignedStack(void (*fn)(void*) noexcept, void* context) noexcept {
#if defined(_WIN32) && defined(__x86_64__)
    quenvale_call_on_aligned_stack(fn, context);
#else
    fn(context);
#endif
}

}  // namespace quenvale::simd
