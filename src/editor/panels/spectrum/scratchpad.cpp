// The scratchpad's state and operations.
#include "editor/panels/spectrum/scratchpad.h"

#include <algorithm>
#include <cmath>

namespace quenvale::editor {

bool Scratchpad::attach(int32_t partialCount) {
    if (partialCount == curve_.size()) return false;
    curve_ = PartialCurve(partialCount);
    preview_ = PartialCurve(partialCount);
    undo_ = PartialCurve(partialCount);
    undoEnabled_ = false;
    recomputePreview();
    return true;
}

bool Scratchpad::generate(int32_t command) {
    if (!generateScratchpad(command, curve_)) return false;
    recomputePreview();
    return true;
}

bool Scratchpad::setTransform(int32_t transform, float value) {
    transform_ = transform;
    value_ = std::isnan(value) ? 0.0f : std::clamp(value, kTransformValueMin, kTransformValueMax);
    return recomputePreview();
}

bool Scratchpad::recomputePreview() {
    if (transformScratchpad(transform_, curve_, preview_, value_)) return true;
    preview_.copyFrom(curve_);
    return false;
}

void Scratchpad::apply() {
    curve_.copyFrom(preview_);
    recomputePreview();
}

void Scratchpad::saveUndo(const PartialCurve& spectrum) {
    undo_.copyFrom(spectrum);
    undoEnabled_ = true;
}

void Scratchpad::takeFrom(const PartialCurve& spectrum, const std::vector<bool>& mask) {
    saveUndo(spectrum);
    transferCurve(transferMode_, spectrum, curve_, mask);
    recomputePreview();
}

void Scratchpad::sendTo(PartialCurve& spectrum, const std::vector<bool>& mask) {
    saveUndo(spectrum);
    transferCurve(transferMode_, curve_, spectrum, mask);
}

bool Scratchpad::undo(PartialCurve& spectrum) {
    if (!undoEnabled_) return false;
    spectrum.copyFrom(undo_);
    undoEnabled_ = false;
    return true;
}

void Scratchpad::swapWith(PartialCurve& spectrum) {
    if (spectrum.size() != curve_.size()) return;
    PartialCurve held(curve_);
    curve_.copyFrom(spectrum);
    spectrum.copyFrom(held);
    recomputePreview();
}

}  // namespace quenvale::editor
