// Reading and writing a file in one piece.
#include "persist/whole_file.h"

#include <cstdio>

namespace quenvale {

bool readWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    if (path == nullptr) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    std::vector<uint8_t> read;
    uint8_t block[65536];
    bool ok = true;
    for (;;) {
        const size_t n = std::fread(block, 1, sizeof block, file);
        read.insert(read.end(), block, block + n);
        if (n < sizeof block) {
            ok = std::ferror(file) == 0;
            break;
        }
    }
    std::fclose(file);
    if (!ok) return false;
    bytes.swap(read);
    return true;
}

bool writeWholeFile(const char* path, const uint8_t* header, size_t headerSize, const uint8_t* data,
                    size_t size) {
    if (path == nullptr) return false;
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    bool ok = (headerSize == 0 || std::fwrite(header, 1, headerSize, file) == headerSize) &&
              (size == 0 || std::fwrite(data, 1, size, file) == size);
    ok = (std::fclose(file) == 0) && ok;
    return ok;
}

}  // namespace quenvale
