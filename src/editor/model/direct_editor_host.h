// EditorHost straight onto an engine, with no host behind it: structural actions take the engine's
// edit scope themselves, and reports are only counted. Tests, the screenshot tool and the plug-in (which
// adds the host reports on top) use it.
#pragma once

#include <vector>

#include "editor/model/editor_host.h"

namespace quenvale {
class SynthEngine;
}

namespace quenvale::editor {

class DirectEditorHost : public EditorHost {
public:
    explicit DirectEditorHost(SynthEngine& engine) : engine_(engine) {}

    void reportEditorChange(int32_t index) override { reports.push_back(index); }
    void beginEdit(int32_t index) override { edits.push_back(index + 1); }
    void endEdit(int32_t index) override { edits.push_back(-(index + 1)); }

    void selectProgram(int32_t program) override;
    void storeProgram(int32_t program) override;
    void renameProgram(const char* name) override;
    bool writeBank(std::vector<uint8_t>& bytes) override;
    bool readBank(const uint8_t* bytes, size_t size) override;
    void setPartialCountIndex(int32_t index) override;

    SynthEngine& engine() noexcept { return engine_; }

    // What was reported, in order: indices for reportEditorChange; index + 1 for a begin and
    // −(index + 1) for an end of an edit.
    std::vector<int32_t> reports;
    std::vector<int32_t> edits;

private:
    SynthEngine& engine_;
};

}  // namespace quenvale::editor
