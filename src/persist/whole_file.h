// Reading and writing a file in one piece with the standard runtime's file functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quenvale {

// [ui] The whole file (opened "rb"); false when it cannot be opened or read.
bool readWholeFile(const char* path, std::vector<uint8_t>& bytes);
// [ui] Creates or truncates the file (opened "wb") and writes every byte; false on any failure.
bool writeWholeFile(const char* path, const uint8_t* header, size_t headerSize, const uint8_t* data,
                    size_t size);

}  // namespace quenvale
