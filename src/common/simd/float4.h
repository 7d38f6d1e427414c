// The four-lane float value type used by DSP code: the SSE2 build where the target has it, the portable
// build elsewhere. Both builds give identical results lane by lane.
#pragma once

#include "common/simd/float4_scalar.h"
#include "common/simd/float4_sse2.h"

namespace quenvale::simd {

#if defined(QUENVALE_HAS_SSE2)
namespace native = sse2;
#else
namespace native = scalar;
#endif

using Float4 = native::Float4;
using Int4 = native::Int4;
using Mask4 = native::Mask4;

}  // namespace quenvale::simd
