// Parameter names: "Param NNN" placeholders until the catalogue provides the real ones.
#include "plugin/parameter_name.h"

#include <cstdio>

namespace quenvale {

const char* parameterName(int index, char (&out)[kHostStringSize]) noexcept {
    std::snprintf(out, sizeof out, "Param %03d", index);
    return out;
}

}  // namespace quenvale
