// The factory bank in bank order.
#include "factory_bank.h"

#include "persist/program_codec.h"

namespace quenvale::factory {

std::vector<SoundInfo> buildFactoryBank(SynthEngine& engine) {
    // Programs keep their envelopes, sequences and spectra through the persistence codec.
    installProgramStreamCodec();
    SoundBuilder b(engine);
    buildKeys(b);
    buildPads(b);
    buildLeads(b);
    buildBasses(b);
    buildBells(b);
    buildOrgans(b);
    buildEnsembles(b);
    buildVocal(b);
    buildPlucks(b);
    buildMotion(b);
    buildDrones(b);
    engine.selectProgram(0, 0, true);
    return b.infos();
}

}  // namespace quenvale::factory
