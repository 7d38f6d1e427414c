// Where quenvale-resynth reads and writes generators: generator data files and programs of banks.
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

    // [ui] Reads the bank at `path` and program `program`'s generator into `generator` (the default
    // generator when the program stores none). False for a file that is not a readable bank.
    bool open(const std::string& path, int32_t program, Generator& generator, std::string& error);
    // [ui] Puts `generator` back into the program and writes the whole bank (with the channel state
    // it was read with, if any) to `path`.
    bool store(const Generator& generator, const std::string& path, std::string& error);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace quenvale::tool
