// Generator data files.
#include "persist/generator_file.h"

#include <cstdint>
#include <vector>

#include "persist/byte_reader.h"
#include "persist/format_versions.h"
#include "persist/generator_record.h"
#include "persist/whole_file.h"

namespace quenvale {

bool saveGeneratorData(const Generator& generator, const char* path) {
    ByteStream record;
    writeGenerator(generator, record);
    return saveGeneratorRecord(record, path);
}

bool saveGeneratorRecord(const ByteStream& record, const char* path) {
    const uint8_t tag[4] = {
        static_cast<uint8_t>(kGeneratorFileTag), static_cast<uint8_t>(kGeneratorFileTag >> 8),
        static_cast<uint8_t>(kGeneratorFileTag >> 16), static_cast<uint8_t>(kGeneratorFileTag >> 24)};
    return writeWholeFile(path, tag, sizeof tag, record.bytes.data(), record.bytes.size());
}

bool loadGeneratorData(Generator& generator, const char* path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return false;
    ByteReader reader(bytes.data(), bytes.size());
    uint32_t tag = 0;
    if (!reader.readU32(tag) || tag != kGeneratorFileTag) return false;
    return readGenerator(generator, reader, kProgramVersion);
}

}  // namespace quenvale
