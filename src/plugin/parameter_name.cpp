// Parameter names for the host, from the catalogue; indices outside it give an empty name.
#include "plugin/parameter_name.h"

#include <cstdio>

#include "params/parameter_catalogue.h"

namespace quenvale {

const char* parameterName(int index, char (&out)[kHostStringSize]) noexcept {
    if (index < 0 || index >= parameterCount()) {
        out[0] = '\0';
        return out;
    }
    std::snprintf(out, sizeof out, "%s", descriptor(index).name);
    return out;
}

}  // namespace quenvale
