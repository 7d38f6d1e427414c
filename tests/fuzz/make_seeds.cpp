// Writes the fuzz entries' seed corpora, one folder per entry under the given directory: valid records
// of every kind and of every stored version, built as the persistence tests build them (generator
// seeds start with the byte that picks their version), and the host chunk the plug-in writes.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/env/default_envelope.h"
#include "engine/program.h"
#include "engine/seq/default_step_seq.h"
#include "engine/spectrum/generator.h"
#include "engine/synth_engine.h"
#include "fuzz_input.h"
#include "persist/bank_record.h"
#include "persist/envelope_record.h"
#include "persist/generator_record.h"
#include "persist/program_record.h"
#include "persist/record_builder.h"
#include "persist/step_seq_record.h"
#include "persist/bank_chunk.h"

using namespace quenvale;

namespace {

// Writes prefix (0 or 1 byte) and bytes to directory/entry/name, creating the entry's folder.
bool writeSeed(const std::string& directory, const char* entry, const std::string& name,
               const std::vector<uint8_t>& prefix, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path folder = std::filesystem::path(directory) / entry;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::FILE* f = std::fopen((folder / name).string().c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(prefix.data(), 1, prefix.size(), f) == prefix.size() &&
                    std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
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
        ok &= writeSeed(dir, "generator", "version_" + std::to_string(v), {v}, r.bytes());
    }
    ByteStream generator;
    writeGenerator(layeredGenerator(), generator);
    ok &= writeSeed(dir, "generator", "layered", {fuzz::kGeneratorVersionCount - 1}, generator.bytes);

    ByteStream envelope, stepSeq;
    writeEnvelopeRecord(defaultEnvelopeCurve(), envelope);
    writeStepSeqRecord(defaultStepSeqBlock(), stepSeq);
    ok &= writeSeed(dir, "envelope", "default", {}, envelope.bytes);
    ok &= writeSeed(dir, "step_seq", "default", {}, stepSeq.bytes);

    auto programs = std::make_unique<Program[]>(kProgramCount);
    for (int32_t p = 0; p < kProgramCount; ++p) initProgram(programs[p], "Seed");
    writeEnvelopeRecord(defaultEnvelopeCurve(), programs[0].envelopeData[0]);
    writeStepSeqRecord(defaultStepSeqBlock(), programs[0].stepSeqData[0]);
    programs[0].generatorData = generator;
    ByteStream program;
    writeProgram(programs[0], program);
    ok &= writeSeed(dir, "program", "layered", {}, program.bytes);
    ByteStream bank;
    writeBankRecord(programs.get(), &programs[0], bank);
    ok &= writeSeed(dir, "bank", "with_channel", {}, bank.bytes);
    writeBankRecord(programs.get(), nullptr, bank);
    ok &= writeSeed(dir, "bank", "without_channel", {}, bank.bytes);
    auto engine = std::make_unique<SynthEngine>();
    std::vector<uint8_t> chunk;
    ok &= writeBankChunk(*engine, chunk) && writeSeed(dir, "chunk", "defaults", {}, chunk);

    if (!ok) {
        std::fprintf(stderr, "could not write the seeds into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
