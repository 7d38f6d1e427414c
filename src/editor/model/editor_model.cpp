// Parameter reads and edits of the editor, and the engine callbacks that feed its dirty set.
#include "editor/model/editor_model.h"

#include <thread>

#include "engine/synth_engine.h"
#include "params/parameter_catalogue.h"

namespace quenvale::editor {

namespace {
// The index this thread is setting through the model, or −1. Per thread: host automation of the same
// index from the audio thread meanwhile is still marked.
thread_local int32_t tSettingIndex = -1;
}  // namespace

EditorModel::EditorModel(SynthEngine& engine, EditorHost& host) : engine_(engine), host_(host) {
    engine_.setParameterChangedCallback(&EditorModel::parameterChanged, this);
    engine_.setProgramChangedCallback(&EditorModel::programChanged, this);
}

EditorModel::~EditorModel() {
    engine_.setParameterChangedCallback(nullptr, nullptr);
    engine_.setProgramChangedCallback(nullptr, nullptr);
}

ParameterValue EditorModel::value(int32_t index) const noexcept {
    return engine_.getParameterValue(0, index);
}

float EditorModel::number(int32_t index) const noexcept {
    return valueAsFloat(value(index));
}

int32_t EditorModel::integer(int32_t index) const noexcept {
    return valueAsInt(value(index));
}

std::string EditorModel::displayText(int32_t index) const {
    DisplayTextBuffer buffer;
    return engine_.parameterDisplayText(0, index, buffer);
}

std::string EditorModel::label(int32_t index) const {
    DisplayTextBuffer buffer;
    return engine_.parameterLabel(index, buffer);
}

std::string EditorModel::programName(int32_t program) const {
    char name[kNameFieldSize];
    return engine_.programName(program, name);
}

const ParameterDescriptor& EditorModel::descriptor(int32_t index) noexcept {
    return quenvale::descriptor(index);
}

void EditorModel::beginEdit(int32_t index) {
    host_.beginEdit(index);
}

void EditorModel::endEdit(int32_t index) {
    host_.endEdit(index);
}

void EditorModel::set(int32_t index, const ParameterValue& value) {
    tSettingIndex = index;
    engine_.setParameterValue(0, index, value);
    host_.reportEditorChange(index);
    tSettingIndex = -1;
}

void EditorModel::setNumber(int32_t index, float value) {
    set(index, makeFloatValue(value));
}

void EditorModel::setInteger(int32_t index, int32_t value) {
    set(index, makeIntValue(value));
}

void EditorModel::edit(int32_t index, const ParameterValue& value) {
    beginEdit(index);
    set(index, value);
    endEdit(index);
}

void EditorModel::parameterChanged(int32_t, int32_t index, void* context) {
    auto* self = static_cast<EditorModel*>(context);
    self->dirty_.markEdited();
    // The editor's own store: the control already shows it. Anything else is read again on the timer.
    if (tSettingIndex == index) return;
    self->dirty_.mark(index);
}

void EditorModel::programChanged(int32_t, int32_t, void* context) {
    auto* self = static_cast<EditorModel*>(context);
    self->dirty_.markProgramChanged();
    self->dirty_.markAll();
}

}  // namespace quenvale::editor
