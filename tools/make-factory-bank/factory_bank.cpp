// The factory bank in bank order.
#include "factory_bank.h"

namespace quenvale::factory {

std::vector<SoundInfo> buildFactoryBank(SynthEngine& engine) {
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
