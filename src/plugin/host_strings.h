// Bounded copies of names and texts into buffers the host owns.
#pragma once

#include "common/capacity.h"

namespace quenvale {

// Copies text into the host's buffer at destination, at most kHostStringSize bytes including the
// terminator (longer texts are cut). Returns false, writing nothing, when destination is null.
bool copyToHost(void* destination, const char* text) noexcept;

// Reads a host string of at most kNameFieldSize - 1 characters into a program-name field, always
// terminated; never reads past the terminator or the field's length.
void copyNameFromHost(char (&field)[kNameFieldSize], const void* source) noexcept;

}  // namespace quenvale
