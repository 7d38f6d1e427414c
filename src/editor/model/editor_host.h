// What the editor asks of the plug-in around it: reporting edits to the host, and the structural
// actions (programs, banks, partial count) that the plug-in serializes with the host's own calls.
//
// [editor thread] The editor calls every function from its own thread. The plug-in implements this;
// DirectEditorHost is the plain implementation on an engine, for tests and the screenshot tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quenvale::editor {

class EditorHost {
public:
    virtual ~EditorHost() = default;

    // The user changed parameter index: the host gets audioMasterAutomate, and its echo is not applied.
    virtual void reportEditorChange(int32_t index) = 0;
    // Around every drag (touch automation): audioMasterBeginEdit / audioMasterEndEdit.
    virtual void beginEdit(int32_t index) = 0;
    virtual void endEdit(int32_t index) = 0;

    // Selects program (0 … 127) with loading on; the engine's program-changed callback follows.
    virtual void selectProgram(int32_t program) = 0;
    // Stores the live sound into program.
    virtual void storeProgram(int32_t program) = 0;
    // Renames the current program (at most 16 characters are kept).
    virtual void renameProgram(const char* name) = 0;
    // The bank without the channel record, for a bank file. False when it could not be written.
    virtual bool writeBank(std::vector<uint8_t>& bytes) = 0;
    // Reads a bank file's bytes, applying them; the engine is unchanged when false.
    virtual bool readBank(const uint8_t* bytes, size_t size) = 0;
    // The generator's partial-count selection 0 … 3 (64, 128, 256, 512 partials).
    virtual void setPartialCountIndex(int32_t index) = 0;
};

}  // namespace quenvale::editor
