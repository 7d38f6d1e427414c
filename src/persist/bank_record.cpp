// The stored form of a bank.
#include "persist/bank_record.h"

#include <utility>
#include <vector>

#include "persist/byte_writer.h"
#include "persist/format_versions.h"
#include "persist/program_record.h"

namespace quenvale {

void writeBankRecord(const Program* programs, const Program* channelState, ByteStream& stream) {
    stream.clear();
    writeU32(stream, kBankMagic);
    writeI32(stream, kBankVersion);
    for (int32_t p = 0; p < kProgramCount; ++p) writeProgram(programs[p], stream);
    writeFlag(stream, channelState != nullptr);
    if (channelState != nullptr) writeProgram(*channelState, stream);
}

bool parseBankRecord(ByteReader& reader, BankImage& image) {
    uint32_t magic = 0;
    int32_t bankVersion = 0;
    if (!reader.readU32(magic) || !reader.readI32(bankVersion)) return false;
    if (magic != kBankMagic || bankVersion >= kFirstUnreadableBankVersion) return false;
    // Every program record takes more than this; a shorter remainder cannot hold the bank.
    if (!reader.fits(kProgramCount, 4 + kNameFieldSize)) return false;

    // Each program is read into one of its own and the image of all 128 (some 7 MB) is built only when
    // every record was read, so that a record that cannot be read is refused cheaply.
    std::vector<std::unique_ptr<Program>> programs;
    programs.reserve(kProgramCount);
    for (int32_t p = 0; p < kProgramCount; ++p) {
        programs.push_back(std::make_unique<Program>());
        if (!readProgram(*programs.back(), reader)) return false;
    }
    BankImage read;
    if (bankVersion >= kFirstBankVersionWithChannel) {
        uint32_t flag = 0;
        if (!reader.readU32(flag)) return false;
        if (flag != 0) {
            read.channel = std::make_unique<Program>();
            initProgram(*read.channel, "Channel");
            if (!readProgram(*read.channel, reader)) return false;
        }
    }
    read.programs = std::make_unique<Program[]>(kProgramCount);
    for (int32_t p = 0; p < kProgramCount; ++p) read.programs[p] = std::move(*programs[static_cast<size_t>(p)]);
    image = std::move(read);
    return true;
}

}  // namespace quenvale
