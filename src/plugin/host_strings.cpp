// Bounded host string copies.
#include "plugin/host_strings.h"

#include <cstring>

namespace quenvale {

bool copyToHost(void* destination, const char* text) noexcept {
    if (destination == nullptr) return false;
    char* out = static_cast<char*>(destination);
    if (text == nullptr) text = "";
    size_t length = 0;
    while (length < static_cast<size_t>(kHostStringSize) - 1 && text[length] != '\0') ++length;
    std::memcpy(out, text, length);
    out[length] = '\0';
    return true;
}

void copyNameFromHost(char (&field)[kNameFieldSize], const void* source) noexcept {
    const char* in = static_cast<const char*>(source);
    size_t length = 0;
    if (in != nullptr) {
        while (length < sizeof field - 1 && in[length] != '\0') ++length;
        std::memcpy(field, in, length);
    }
    field[length] = '\0';
}

}  // namespace quenvale
