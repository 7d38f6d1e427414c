// The editor's view of the synthesizer: what panels and controls read and write, and how they learn of
// changes made elsewhere.
//
// Binding contract. A control edits a parameter with beginEdit(i) … set(i, v) … endEdit(i): set stores
// through the engine's routing, reports the change to the host (audioMasterAutomate) and is not echoed
// back to the control that made it; begin/end bracket a drag for the host's touch automation (a
// single click or a menu choice calls edit(i, v), which does all three). Changes from anywhere else —
// host automation (even from the audio thread), program changes, chunk and bank loads — only mark
// the lock-free DirtySet; the 20 ms timer calls flush(), which hands every changed index to the
// widgets bound to it, within one tick of the change.
//
// [editor thread] Everything here except the engine callbacks runs on the editor's thread.
#pragma once

#include <cstdint>
#include <string>

#include "editor/model/dirty_set.h"
#include "editor/model/editor_host.h"
#include "params/parameter_descriptor.h"
#include "params/parameter_value.h"

namespace quenvale {
class SynthEngine;
}

namespace quenvale::editor {

class EditorModel {
public:
    // Installs the engine's program- and parameter-changed callbacks; the destructor removes them.
    EditorModel(SynthEngine& engine, EditorHost& host);
    ~EditorModel();
    EditorModel(const EditorModel&) = delete;
    EditorModel& operator=(const EditorModel&) = delete;

    // ---- reading --------------------------------------------------------------------------------------
    ParameterValue value(int32_t index) const noexcept;
    // The value as float (a modulated parameter's base) and as integer (enums and slot sources).
    float number(int32_t index) const noexcept;
    int32_t integer(int32_t index) const noexcept;
    // The display text with its unit, as the host's parameter list shows it.
    std::string displayText(int32_t index) const;
    // The control label: the program's macro names for the macro knobs, the catalogue's label otherwise.
    std::string label(int32_t index) const;
    static const ParameterDescriptor& descriptor(int32_t index) noexcept;

    // ---- editing ------------------------------------------------------------------------------------
    void beginEdit(int32_t index);
    // Stores, reports to the host, suppresses the echo. Float members and bases take a float value,
    // enums and slot sources an int; setNumber/setInteger build the right kind.
    void set(int32_t index, const ParameterValue& value);
    void setNumber(int32_t index, float value);
    void setInteger(int32_t index, int32_t value);
    void endEdit(int32_t index);
    // A single complete edit (click, menu choice, typed value): begin, set, end.
    void edit(int32_t index, const ParameterValue& value);

    // The stored name of a program (0 … 127).
    std::string programName(int32_t program) const;

    // ---- notifications ----------------------------------------------------------------------------
    DirtySet& dirty() noexcept { return dirty_; }

    SynthEngine& engine() noexcept { return engine_; }
    const SynthEngine& engine() const noexcept { return engine_; }
    EditorHost& host() noexcept { return host_; }

private:
    static void parameterChanged(int32_t channel, int32_t index, void* context);
    static void programChanged(int32_t channel, int32_t program, void* context);

    SynthEngine& engine_;
    EditorHost& host_;
    DirtySet dirty_;
};

}  // namespace quenvale::editor
