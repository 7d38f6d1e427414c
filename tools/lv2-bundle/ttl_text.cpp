// Turtle text pieces.
#include "ttl_text.h"

#include <cctype>
#include <cstdio>

namespace quenvale::lv2bundle {

std::string quoted(const char* text) {
    std::string out = "\"";
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '"' || *c == '\\') out += '\\';
        out += *c;
    }
    return out + "\"";
}

std::string number(float x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(x));
    std::string out = text;
    if (out.find_first_of(".e") == std::string::npos) out += ".0";
    return out;
}

std::string portSymbol(const char* name) {
    std::string out;
    bool gap = false;
    for (const char* c = name; *c != '\0'; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c)) != 0) {
            if (gap && !out.empty()) out += '_';
            out += *c;
            gap = false;
        } else {
            gap = true;
        }
    }
    if (out.empty() || std::isdigit(static_cast<unsigned char>(out[0])) != 0) out = "_" + out;
    return out;
}

std::string base64(const uint8_t* data, size_t size) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (size_t i = 0; i < size; i += 3) {
        const uint32_t b0 = data[i];
        const uint32_t b1 = i + 1 < size ? data[i + 1] : 0;
        const uint32_t b2 = i + 2 < size ? data[i + 2] : 0;
        const uint32_t group = (b0 << 16) | (b1 << 8) | b2;
        out += kDigits[(group >> 18) & 63];
        out += kDigits[(group >> 12) & 63];
        out += i + 1 < size ? kDigits[(group >> 6) & 63] : '=';
        out += i + 2 < size ? kDigits[group & 63] : '=';
    }
    return out;
}

}  // namespace quenvale::lv2bundle
