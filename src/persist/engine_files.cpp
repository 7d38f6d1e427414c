// File commands on a whole engine.
#include "persist/engine_files.h"

#include <cstdint>
#include <vector>

#include "engine/channel.h"
#include "engine/edit_guard.h"
#include "engine/spectrum/generator.h"
#include "persist/bank_io.h"
#include "persist/format_versions.h"
#include "persist/generator_file.h"
#include "persist/generator_record.h"
#include "persist/whole_file.h"

namespace quenvale {

bool saveBankFile(SynthEngine& engine, const char* path) {
    ByteStream stream;
    writeBank(engine, stream, false);
    return writeWholeFile(path, nullptr, 0, stream.bytes.data(), stream.bytes.size());
}

bool loadBankFile(SynthEngine& engine, const char* path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return false;
    ByteReader reader(bytes.data(), bytes.size());
    return readBank(engine, reader, false);
}

bool saveGeneratorFile(SynthEngine& engine, const char* path) {
    // The record is written first and the file afterwards: the scope is not held across the I/O.
    ByteStream record;
    {
        EditGuard::ReadScope scope(engine.editGuard());
        writeGenerator(*engine.channel().generator, record);
    }
    return saveGeneratorRecord(record, path);
}

bool loadGeneratorFile(SynthEngine& engine, const char* path) {
    // Read into a generator of our own first: the live one is only touched once the file is good.
    Generator loaded;
    if (!loadGeneratorData(loaded, path)) return false;
    EditGuard::EditScope scope(engine.editGuard());
    *engine.channel().generator = std::move(loaded);
    engine.generatorChanged();
    return true;
}

}  // namespace quenvale
