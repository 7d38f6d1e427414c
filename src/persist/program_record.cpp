// The stored form of one program.
#include "persist/program_record.h"

#include <array>
#include <bit>
#include <cstring>
#include <memory>

#include "common/capacity.h"
#include "params/parameter_catalogue.h"
#include "persist/byte_writer.h"
#include "persist/component_streams.h"
#include "persist/format_versions.h"
#include "persist/parameter_lists.h"

namespace quenvale {
namespace {

// What the loader needs to know of each parameter's name: a name containing "ModSrc" is a slot
// source; one beginning with "Ch" uses the channel numbering.
enum SourceKind : uint8_t { kNotASource = 0, kVoiceSource = 1, kChannelSource = 2 };

const std::array<uint8_t, kParameterCount>& sourceKinds() {
    static const std::array<uint8_t, kParameterCount> kinds = [] {
        std::array<uint8_t, kParameterCount> k{};
        for (int32_t i = 0; i < kParameterCount; ++i) {
            const char* name = descriptor(i).name;
            if (std::strstr(name, "ModSrc") == nullptr) continue;
            k[static_cast<size_t>(i)] = std::strncmp(name, "Ch", 2) == 0 ? kChannelSource : kVoiceSource;
        }
        return k;
    }();
    return kinds;
}

// A stored source number the version could not name becomes 0 (no modulation).
uint32_t checkedSource(uint32_t stored, uint8_t kind, uint32_t version) noexcept {
    const int32_t count = kind == kChannelSource ? channelSourceCount(version) : voiceSourceCount(version);
    const int32_t source = std::bit_cast<int32_t>(stored);
    return (source >= 0 && source < count) ? stored : 0u;
}

// The 32 bits a value is stored as: the number of Float and Int values, the base of modulated ones.
uint32_t storedBits(const ParameterValue& value) noexcept {
    switch (value.kind) {
        case ParameterKind::Modulated:
            return std::bit_cast<uint32_t>(value.modulated.base);
        case ParameterKind::ChModulated:
            return std::bit_cast<uint32_t>(value.chModulated.base);
        default:
            return value.number;
    }
}

bool readName(ByteReader& reader, char (&name)[kNameFieldSize]) noexcept {
    if (!reader.readBytes(name, kNameFieldSize)) return false;
    name[kNameFieldSize - 1] = '\0';
    return true;
}

// A 32-bit byte count and that many bytes; the count is checked against what remains first.
bool readSizedStream(ByteReader& reader, ByteStream* target) {
    uint32_t size = 0;
    if (!reader.readU32(size)) return false;
    const uint8_t* bytes = reader.take(size);
    if (bytes == nullptr) return false;
    if (target != nullptr) {
        target->bytes.assign(bytes, bytes + size);
        target->cursor = 0;
    }
    return true;
}

}  // namespace

void writeProgram(const Program& program, ByteStream& stream) {
    writeU32(stream, program.version);
    writeBytes(stream, program.name, kNameFieldSize);
    for (const ParameterValue& value : program.values) writeU32(stream, storedBits(value));
    for (const auto& macroName : program.macroNames) writeBytes(stream, macroName, kNameFieldSize);
    for (const ByteStream& s : program.envelopeData) writeSizedStream(stream, s);
    for (const ByteStream& s : program.stepSeqData) writeSizedStream(stream, s);
    writeSizedStream(stream, program.generatorData);
}

bool readProgram(Program& program, ByteReader& reader) {
    uint32_t version = 0;
    if (!reader.readU32(version) || !isReadableProgramVersion(version)) return false;
    auto read = std::make_unique<Program>();
    initProgram(*read, "");
    if (!readName(reader, read->name)) return false;

    const ParameterList list = parameterList(version);
    if (!reader.fits(list.count, 4)) return false;
    const auto& kinds = sourceKinds();
    for (int32_t e = 0; e < list.count; ++e) {
        uint32_t bits = 0;
        if (!reader.readU32(bits)) return false;
        const int32_t index = list.entries[e];
        if (index == kDiscardedEntry) continue;
        const uint8_t kind = kinds[static_cast<size_t>(index)];
        read->values[index].number = kind == kNotASource ? bits : checkedSource(bits, kind, version);
    }

    if (version >= kVersionMacroNames) {
        for (auto& macroName : read->macroNames)
            if (!readName(reader, macroName)) return false;
    }
    for (ByteStream& s : read->envelopeData)
        if (!readSizedStream(reader, &s)) return false;
    if (version >= kVersionStepSeqs) {
        for (ByteStream& s : read->stepSeqData)
            if (!readSizedStream(reader, &s)) return false;
    }
    if (!readSizedStream(reader, &read->generatorData)) return false;
    if (version < kVersionOneGeneratorEntry && !readSizedStream(reader, nullptr)) return false;

    if (!upgradeComponentStreams(*read, version)) return false;
    read->version = kProgramVersion;
    program = std::move(*read);
    return true;
}

}  // namespace quenvale
