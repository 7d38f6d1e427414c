// make-factory-bank: builds the factory sounds from code and writes them as a bank file
// (examples/factory.qpb).
#include <cstdio>
#include <cstring>

#include "engine/synth_engine.h"
#include "factory_bank.h"
#include "persist/engine_files.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: %s OUTPUT.qpb\nBuilds the demo sounds from code and writes them as a bank file.\n", argv[0]);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.qpb\n", argv[0]);
        return 2;
    }
    quenvale::SynthEngine engine;
    engine.setSampleRate(44100.0f);
    const auto sounds = quenvale::factory::buildFactoryBank(engine);
    if (!quenvale::saveBankFile(engine, argv[1])) {
        std::fprintf(stderr, "make-factory-bank: could not write %s\n", argv[1]);
        return 1;
    }
    std::printf("wrote %zu factory sounds to %s\n", sounds.size(), argv[1]);
    return 0;
}
