// Reading the process environment, the same way on every platform.
#pragma once

#include <cstddef>

namespace quenvale {

// [any] Copies the value of environment variable `name` into out (NUL-terminated, at most size − 1
// characters). False, with out empty, when the variable is unset or its value does not fit.
// On Windows the process environment block is read, so a value set by the host process with
// SetEnvironmentVariable before it loads the plug-in is seen, whatever C runtime either side uses.
bool readEnvironment(const char* name, char* out, size_t size) noexcept;

}  // namespace quenvale
