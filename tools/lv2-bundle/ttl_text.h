// Turtle text pieces for the bundle writer: quoted strings, numbers, port symbols, base64.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quenvale::lv2bundle {

// A Turtle string literal of text, quotes included, with '"' and '\' escaped.
std::string quoted(const char* text);
// A decimal or double literal of x that reads back as the same float (never an integer literal).
std::string number(float x);
// An LV2 port symbol from a parameter name: letters and digits kept, every other run of characters
// one '_' ("ChFx1 Dry/Wet ModSrc1" gives "ChFx1_Dry_Wet_ModSrc1"), never starting with a digit.
std::string portSymbol(const char* name);
// Standard base64 with padding, as xsd:base64Binary wants it.
std::string base64(const uint8_t* data, size_t size);

}  // namespace quenvale::lv2bundle
