// lv2-bundle: writes the Turtle files of Quenvale.lv2 from the parameter catalogue and a bank file.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bundle_text.h"
#include "persist/bank_record.h"
#include "persist/byte_reader.h"
#include "persist/program_codec.h"

namespace {

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) std::fprintf(stderr, "lv2-bundle: could not write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s BUNDLE_DIR BINARY_NAME BANK.qpb\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    std::ifstream in(argv[3], std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    quenvale::installProgramStreamCodec();
    quenvale::ByteReader reader(bytes.data(), bytes.size());
    quenvale::BankImage bank;
    if (!in || !quenvale::parseBankRecord(reader, bank)) {
        std::fprintf(stderr, "lv2-bundle: %s is not a bank this version can read\n", argv[3]);
        return 1;
    }
    std::string error;
    const std::string plugin = quenvale::lv2bundle::pluginText(error);
    if (plugin.empty()) {
        std::fprintf(stderr, "lv2-bundle: %s\n", error.c_str());
        return 1;
    }
    namespace b = quenvale::lv2bundle;
    const bool written = writeText(dir + "/manifest.ttl", b::manifestText(argv[2], bank.programs.get())) &&
                         writeText(dir + "/" + b::kPluginFile, plugin) &&
                         writeText(dir + "/" + b::kPresetFile, b::presetText(bank.programs.get()));
    return written ? 0 : 1;
}
