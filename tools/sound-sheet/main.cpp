// sound-sheet: documents the factory bank: docs/sounds.md with every program's category, what the mod
// wheel and each macro do, and a spectrogram of a held C4 (docs/sounds/NN.png), drawn with cairo.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/runtime_random.h"
#include "engine/synth_engine.h"
#include "factory_bank.h"
#include "sound_probe.h"
#include "spectrogram.h"

namespace {

using quenvale::factory::SoundInfo;

constexpr double kRate = 44100.0;

std::string pictureName(const SoundInfo& sound) {
    char name[32];
    std::snprintf(name, sizeof name, "%03d.png", sound.program);
    return name;
}

void writeCategory(std::ofstream& md, const std::vector<SoundInfo>& sounds, const std::string& category) {
    md << "\n## " << category << "\n\n";
    md << "| # | Program | C4 held 2 s, released | Mod wheel | Macros |\n";
    md << "|---|---|---|---|---|\n";
    for (const SoundInfo& s : sounds) {
        if (s.category != category) continue;
        md << "| " << s.program << " | **" << s.name << "**" << (s.quiet ? " (sits lower)" : "") << " | ![" << s.name
           << "](sounds/" << pictureName(s) << ") | " << s.wheel << " | ";
        for (int m = 0; m < 6; ++m)
            md << (m > 0 ? "<br>" : "") << m + 1 << " **" << s.macroNames[m] << "**: " << s.macroTexts[m];
        md << " |\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool help = argc == 2 && std::string(argv[1]) == "--help";
    if (argc != 2 || help) {
        std::fprintf(help ? stdout : stderr, "usage: %s DOCS_FOLDER   (writes sounds.md and sounds/*.png there)\n",
                     argv[0]);
        return help ? 0 : 2;
    }
    const std::filesystem::path docs = argv[1];
    std::filesystem::create_directories(docs / "sounds");
    // The engine's random phases come from the runtime's generator: start from a known state.
    quenvale::seedRuntimeRandom(1);
    quenvale::SynthEngine engine;
    engine.setSampleRate(static_cast<float>(kRate));
    const std::vector<SoundInfo> sounds = quenvale::factory::buildFactoryBank(engine);
    for (const SoundInfo& s : sounds) {
        const quenvale::probe::Take take = quenvale::probe::play(engine, s.program, {60}, 100, 2.0f, 1.0f);
        const std::string path = (docs / "sounds" / pictureName(s)).string();
        if (!quenvale::sheet::writeSpectrogram(take, kRate, path)) {
            std::fprintf(stderr, "sound-sheet: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::ofstream md(docs / "sounds.md");
    md << "# Factory sounds\n\n"
          "The plug-in opens with these programs (the rest of the 128 keep their defaults). Each picture is a\n"
          "spectrogram of C4 at velocity 100, held for two seconds and released: time runs across, frequency\n"
          "goes up from 40 Hz to 16 kHz on a log scale, brighter is louder (90 dB from black to white).\n"
          "The mod wheel and the six macros (\"MacroParam1\" … \"MacroParam6\", named per program) start at 0;\n"
          "raising them does what the table says.\n\n"
          "This page, its pictures, `examples/factory.qpb` and the bank compiled into the plug-in are all made\n"
          "from the code in `tools/make-factory-bank/` by `scripts/make-factory-bank.sh`.\n";
    for (const char* category :
         {quenvale::factory::kKeys, quenvale::factory::kPads, quenvale::factory::kLeads, quenvale::factory::kBasses,
          quenvale::factory::kBells, quenvale::factory::kOrgans, quenvale::factory::kEnsembles,
          quenvale::factory::kVocal, quenvale::factory::kPlucks, quenvale::factory::kMotion,
          quenvale::factory::kDrones})
        writeCategory(md, sounds, category);
    md << "\nPrograms marked *sits lower* are drones and effects: beds and colours whose loudness may be up to\n"
          "12 dB below the playable sounds (the quality tool, `quenvale-bank-quality`, allows it).\n";
    if (!md) {
        std::fprintf(stderr, "sound-sheet: cannot write %s\n", (docs / "sounds.md").string().c_str());
        return 1;
    }
    std::printf("wrote %zu pictures and sounds.md to %s\n", sounds.size(), docs.string().c_str());
    return 0;
}
