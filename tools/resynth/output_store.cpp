// Generator data files and bank programs for quenvale-resynth, through the persistence layer.
#include "output_store.h"

#include <cstdint>
#include <vector>

#include "common/byte_stream.h"
#include "engine/program.h"
#include "persist/bank_record.h"
#include "persist/byte_reader.h"
#include "persist/component_streams.h"
#include "persist/generator_file.h"
#include "persist/generator_record.h"
#include "persist/whole_file.h"

namespace quenvale::tool {

struct BankSession::State {
    BankImage image;
    int32_t program = -1;
};

BankSession::BankSession() : state_(std::make_unique<State>()) {}
BankSession::~BankSession() = default;

bool storeGeneratorFile(const Generator& generator, const std::string& path, std::string& error) {
    if (saveGeneratorData(generator, path.c_str())) return true;
    error = "cannot write " + path;
    return false;
}

bool BankSession::open(const std::string& path, int32_t program, Generator& generator, std::string& error) {
    if (program < 0 || program >= kProgramCount) {
        error = "program " + std::to_string(program) + " is not in a bank (0 ... 127)";
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path.c_str(), bytes)) {
        error = "cannot read " + path;
        return false;
    }
    ByteReader reader(bytes.data(), bytes.size());
    BankImage image;
    if (!parseBankRecord(reader, image)) {
        error = path + " is not a bank this version can read";
        return false;
    }
    const Program& stored = image.programs[program];
    Generator read;
    if (!stored.generatorData.empty() && !readGeneratorStream(stored.generatorData, stored.version, read)) {
        error = "the generator of program " + std::to_string(program) + " in " + path + " cannot be read";
        return false;
    }
    generator = std::move(read);
    state_->image = std::move(image);
    state_->program = program;
    return true;
}

bool BankSession::store(const Generator& generator, const std::string& path, std::string& error) {
    if (state_->program < 0 || !state_->image.programs) {
        error = "no bank is open";
        return false;
    }
    Program& program = state_->image.programs[state_->program];
    program.generatorData.clear();
    writeGenerator(generator, program.generatorData);
    ByteStream stream;
    writeBankRecord(state_->image.programs.get(), state_->image.channel.get(), stream);
    if (writeWholeFile(path.c_str(), nullptr, 0, stream.bytes.data(), stream.bytes.size())) return true;
    error = "cannot write " + path;
    return false;
}

}  // namespace quenvale::tool
