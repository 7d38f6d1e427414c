// LV2 state: the bank chunk and the current program out, a chunk or a preset's program back in.
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "engine/edit_guard.h"
#include "lv2/lv2_synth.h"
#include "persist/bank_chunk.h"
#include "persist/bank_record.h"
#include "persist/byte_reader.h"
#include "persist/program_codec.h"
#include "persist/program_record.h"

namespace quenvale::lv2 {

namespace {
constexpr uint32_t kPortableValue = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
}

LV2_State_Status Lv2Synth::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    if (store == nullptr) return LV2_STATE_ERR_UNKNOWN;
    std::vector<uint8_t> chunk;
    try {
        if (!writeBankChunk(engine_, chunk) || chunk.empty()) return LV2_STATE_ERR_UNKNOWN;
    } catch (const std::bad_alloc&) {
        return LV2_STATE_ERR_NO_SPACE;
    }
    const int32_t program = engine_.currentProgram(0);
    LV2_State_Status status =
        store(handle, urids_.stateChunk, chunk.data(), chunk.size(), urids_.atomChunk, kPortableValue);
    if (status != LV2_STATE_SUCCESS) return status;
    return store(handle, urids_.stateProgram, &program, sizeof program, urids_.atomInt, kPortableValue);
}

LV2_State_Status Lv2Synth::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
    if (retrieve == nullptr) return LV2_STATE_ERR_UNKNOWN;
    size_t programSize = 0;
    uint32_t programType = 0;
    uint32_t flags = 0;
    const void* programValue = retrieve(handle, urids_.stateProgram, &programSize, &programType, &flags);
    int32_t program = -1;
    if (programValue != nullptr && programType == urids_.atomInt && programSize == sizeof program) {
        program = *static_cast<const int32_t*>(programValue);
        if (program < 0 || program >= kProgramCount) program = -1;
    }

    size_t size = 0;
    uint32_t type = 0;
    bool restored = false;
    try {
        if (const void* chunk = retrieve(handle, urids_.stateChunk, &size, &type, &flags)) {
            if (type != urids_.atomChunk) return LV2_STATE_ERR_BAD_TYPE;
            restored = restoreChunk(chunk, size, program >= 0 ? &program : nullptr);
        } else if (const void* record = retrieve(handle, urids_.stateProgramRecord, &size, &type, &flags)) {
            if (type != urids_.atomChunk) return LV2_STATE_ERR_BAD_TYPE;
            if (program < 0) return LV2_STATE_ERR_NO_PROPERTY;
            restored = restoreProgramRecord(record, size, program);
        } else {
            return LV2_STATE_ERR_NO_PROPERTY;
        }
    } catch (const std::bad_alloc&) {
        return LV2_STATE_ERR_NO_SPACE;
    }
    if (!restored) return LV2_STATE_ERR_UNKNOWN;
    resyncPorts_.store(true, std::memory_order_release);
    return LV2_STATE_SUCCESS;
}

bool Lv2Synth::restoreChunk(const void* data, size_t size, const int32_t* program) {
    // Shorter than the header, or beyond the format's 32-bit sizes: refused before a byte is read.
    if (size < kChunkHeaderSize || size > 0x7FFFFFFFu) return false;
    // Copied: the host's value is only lent for the call, and the reader keeps pointers into it.
    const auto* bytes = static_cast<const uint8_t*>(data);
    const std::vector<uint8_t> copy(bytes, bytes + size);
    if (program != nullptr) {
        // The program number goes in first, so that the chunk load selects it: without loading when
        // the chunk holds the live channel (a saved session), with loading when it is a bare bank. So
        // that a refused chunk changes nothing, not even the program, the bytes are read once before.
        installProgramStreamCodec();
        BankImage probe;
        ByteReader reader(copy.data(), copy.size());
        if (!parseBankRecord(reader, probe)) return false;
        if (*program != engine_.currentProgram(0)) engine_.selectProgram(0, *program, false);
    }
    return readBankChunk(engine_, copy.data(), copy.size());
}

bool Lv2Synth::restoreProgramRecord(const void* data, size_t size, int32_t program) {
    installProgramStreamCodec();
    auto incoming = std::make_unique<Program>();
    ByteReader reader(static_cast<const uint8_t*>(data), size);
    if (!readProgram(*incoming, reader) || reader.remaining() != 0) return false;
    {
        // The preset's program takes its place in the bank and becomes the live sound, as selecting
        // it from the bank does.
        EditGuard::EditScope scope(engine_.editGuard());
        std::swap(engine_.program(program), *incoming);
        engine_.selectProgramInEdit(program, true);
    }
    engine_.notifyProgramChanged(0);
    return true;
}

}  // namespace quenvale::lv2
