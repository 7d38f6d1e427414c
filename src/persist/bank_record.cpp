// The stored form of a bank.
#include "persist/bank_record.h"

#include <utility>

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

    BankImage read;
    read.programs = std::make_unique<Program[]>(kProgramCount);
    for (int32_t p = 0; p < kProgramCount; ++p)
        if (!readProgram(read.programs[p], reader)) return false;
    if (bankVersion >= kFirstBankVersionWithChannel) {
        uint32_t flag = 0;
        if (!reader.readU32(flag)) return false;
        if (flag != 0) {
            read.channel = std::make_unique<Program>();
            initProgram(*read.channel, "Channel");
            if (!readProgram(*read.channel, reader)) return false;
        }
    }
    image = std::move(read);
    return true;
}

}  // namespace quenvale
