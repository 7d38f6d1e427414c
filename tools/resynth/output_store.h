// Where quenvale-resynth reads and writes generators: generator data files and banks.
//
// SEAM: these calls go to the persistence layer (generator records, generator data files, bank
// records). Until that layer is part of this build they refuse with a message saying so, and the
// tool stops before writing anything.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/spectrum/generator.h"

namespace quenvale::tool {

// [ui] Writes the generator as a generator data file at `path`.
bool storeGeneratorFile(const Generator& generator, const std::string& path, std::string& error);

// A bank read in full, with the generator of one of its programs taken out for editing.
class BankSession {
public:
    BankSession();
    ~BankSession();
    BankSession(const BankSession&) = delete;
    BankSession& operator=(const BankSession&) = delete;

    // [ui] Reads the bank at `path` and program `program`'s generator into `generator`.
    bool open(const std::string& path, int32_t program, Generator& generator, std::string& error);
    // [ui] Puts `generator` back into the program and writes the whole bank to `path`.
    bool store(const Generator& generator, const std::string& path, std::string& error);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace quenvale::tool
