// Seam to the parameter catalogue: the name the host shows for a parameter index.
#pragma once

#include "common/capacity.h"

namespace quenvale {

// [ui] Writes the name of parameter index (0 … kParameterCount - 1) into out and returns out.
const char* parameterName(int index, char (&out)[kHostStringSize]) noexcept;

}  // namespace quenvale
