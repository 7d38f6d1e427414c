// Structural editor actions carried out directly on the engine.
#include "editor/model/direct_editor_host.h"

#include <utility>

#include "engine/spectrum/generator.h"
#include "engine/synth_engine.h"
#include "persist/bank_io.h"
#include "persist/byte_reader.h"

namespace quenvale::editor {

void DirectEditorHost::selectProgram(int32_t program) {
    engine_.selectProgram(0, program, true);
}

void DirectEditorHost::storeProgram(int32_t program) {
    engine_.storeProgram(program);
}

void DirectEditorHost::renameProgram(const char* name) {
    engine_.setProgramName(engine_.currentProgram(0), name);
}

bool DirectEditorHost::writeBank(std::vector<uint8_t>& bytes) {
    ByteStream stream;
    quenvale::writeBank(engine_, stream, false);
    bytes = std::move(stream.bytes);
    return !bytes.empty();
}

bool DirectEditorHost::readBank(const uint8_t* bytes, size_t size) {
    ByteReader reader(bytes, size);
    return quenvale::readBank(engine_, reader, true);
}

void DirectEditorHost::setPartialCountIndex(int32_t index) {
    EditGuard::EditScope scope(engine_.editGuard());
    if (!engine_.channel().generator->setPartialCountIndex(index)) return;
    engine_.generatorChanged();
}

}  // namespace quenvale::editor
