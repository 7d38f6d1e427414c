// Environment variables through the platform's own call.
#include "common/environment.h"

#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace quenvale {

bool readEnvironment(const char* name, char* out, size_t size) noexcept {
    if (out == nullptr || size == 0) return false;
    out[0] = '\0';
#if defined(_WIN32)
    // The answer is the length without the NUL when it fits, the size needed (with the NUL) otherwise.
    const DWORD length = GetEnvironmentVariableA(name, out, static_cast<DWORD>(size));
    if (length == 0 || length >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
#else
    const char* value = std::getenv(name);
    if (value == nullptr) return false;
    const size_t length = std::strlen(value);
    if (length >= size) return false;
    std::memcpy(out, value, length + 1);
    return true;
#endif
}

}  // namespace quenvale
