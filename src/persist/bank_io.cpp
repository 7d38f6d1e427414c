// The bank of an engine as one stored record.
#include "persist/bank_io.h"

#include <memory>
#include <utility>

#include "engine/edit_guard.h"
#include "engine/program_apply.h"
#include "persist/bank_record.h"
#include "persist/program_codec.h"

namespace quenvale {

void writeBank(SynthEngine& engine, ByteStream& stream, bool includeChannel) {
    installProgramStreamCodec();
    engine.flushPendingStores();
    // Reads programs and modulator trees that another user-interface thread's load would free; the
    // audio thread only reads them as well, so it keeps sounding.
    EditGuard::ReadScope scope(engine.editGuard());
    std::unique_ptr<Program> channelState;
    if (includeChannel) {
        channelState = std::make_unique<Program>();
        initProgram(*channelState, "Channel");
        storeProgram(*channelState, engine.channel());
    }
    // The engine keeps its 128 programs in one array.
    writeBankRecord(&engine.program(0), channelState.get(), stream);
}

bool readBank(SynthEngine& engine, ByteReader& reader, bool apply) {
    installProgramStreamCodec();
    BankImage image;
    if (!parseBankRecord(reader, image)) return false;
    {
        EditGuard::EditScope scope(engine.editGuard());
        // Read inside the scope: a program selected by another thread meanwhile stays selected.
        const int32_t current = engine.currentProgram(0);
        for (int32_t p = 0; p < kProgramCount; ++p) std::swap(engine.program(p), image.programs[p]);
        if (apply && image.channel != nullptr) {
            engine.applyProgramInEdit(*image.channel);
            engine.selectProgramInEdit(current, false);
        } else {
            engine.selectProgramInEdit(current, true);
        }
    }
    engine.notifyProgramChanged(0);
    return true;
}

}  // namespace quenvale
