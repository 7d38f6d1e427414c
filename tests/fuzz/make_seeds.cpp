// Writes the fuzz target's seed corpus: valid records of every kind and of every stored version,
// built as the persistence tests build them, each prefixed with the fuzz input's selector bytes.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/env/default_envelope.h"
#include "engine/program.h"
#include "engine/seq/default_step_seq.h"
#include "engine/spectrum/generator.h"
#include "fuzz_input.h"
#include "persist/bank_record.h"
#include "persist/envelope_record.h"
#include "persist/generator_record.h"
#include "persist/program_record.h"
#include "persist/record_builder.h"
#include "persist/step_seq_record.h"

using namespace quenvale;

namespace {

bool writeSeed(const std::string& directory, const std::string& name, uint8_t kind, uint8_t version,
               const std::vector<uint8_t>& bytes) {
    const std::string path = directory + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const uint8_t prefix[2] = {kind, version};
    const bool ok =
        std::fwrite(prefix, 1, 2, f) == 2 && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

Generator layeredGenerator() {
    Generator g;
    g.setPartialCount(64);
    Modulator& amp = g.modulator(kSpectrumAmp);
    amp.insertBreakpoint(1, 0.5f, 0.5f, false);
    amp.addChild("Layer", kCombineAdd, false).addChild("Deep", kCombineMultiply, true);
    amp.filterMode = kFilterLowPass12;
    return g;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;

    for (uint8_t v = 0; v < fuzz::kGeneratorVersionCount; ++v) {
        test::OldModulator amp;
        amp.layers = {{1, 0}, {0, 1}};
        amp.breakpointDistances = {0.0f, 0.25f};
        test::Record r;
        test::oldGenerator(r, fuzz::kGeneratorVersions[v], 0, amp);
        ok &= writeSeed(dir, "generator_" + std::to_string(v), fuzz::kGeneratorRecord, v, r.bytes());
    }
    ByteStream generator;
    writeGenerator(layeredGenerator(), generator);
    ok &= writeSeed(dir, "generator_layered", fuzz::kGeneratorRecord, fuzz::kGeneratorVersionCount - 1,
                    generator.bytes);

    ByteStream components;
    writeEnvelopeRecord(defaultEnvelopeCurve(), components);
    writeStepSeqRecord(defaultStepSeqBlock(), components);
    ok &= writeSeed(dir, "components", fuzz::kComponentRecords, 0, components.bytes);

    auto programs = std::make_unique<Program[]>(kProgramCount);
    for (int32_t p = 0; p < kProgramCount; ++p) initProgram(programs[p], "Seed");
    writeEnvelopeRecord(defaultEnvelopeCurve(), programs[0].envelopeData[0]);
    writeStepSeqRecord(defaultStepSeqBlock(), programs[0].stepSeqData[0]);
    programs[0].generatorData = generator;
    ByteStream program;
    writeProgram(programs[0], program);
    ok &= writeSeed(dir, "program", fuzz::kProgramRecord, 0, program.bytes);
    ByteStream bank;
    writeBankRecord(programs.get(), &programs[0], bank);
    ok &= writeSeed(dir, "bank_with_channel", fuzz::kBankRecord, 0, bank.bytes);

    if (!ok) {
        std::fprintf(stderr, "could not write the seeds into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
