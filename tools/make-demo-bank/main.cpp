// make-demo-bank: builds the demo sounds from code and writes them as a bank file (examples/demo.qpb).
#include <cstdio>
#include <cstring>

#include "demo_sounds.h"
#include "engine/synth_engine.h"
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
    quenvale::demo::buildDemoSounds(engine);
    if (!quenvale::saveBankFile(engine, argv[1])) {
        std::fprintf(stderr, "make-demo-bank: could not write %s\n", argv[1]);
        return 1;
    }
    std::printf("wrote %d demo sounds to %s\n", quenvale::demo::kDemoSoundCount, argv[1]);
    return 0;
}
