// The scratchpad's state, apart from its panel: the working curve, the preview of the chosen
// transform, the undo copy of the spectrum curve, the transfer mode, and the operations between them.
// Not stored in programs; kept across views and breakpoints, recreated at a new partial count.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/panels/spectrum/scratchpad_curves.h"
#include "engine/curve/partial_curve.h"

namespace quenvale::editor {

class Scratchpad {
public:
    // [editor thread] Attaches to a spectrum curve of `partialCount` values. A different count than
    // before discards the scratchpad, the preview and the undo copy (all zero at the new size) and
    // disables undo; the same count keeps everything. True when the curves were recreated.
    bool attach(int32_t partialCount);
    int32_t partialCount() const noexcept { return curve_.size(); }

    const PartialCurve& curve() const noexcept { return curve_; }
    PartialCurve& curve() noexcept { return curve_; }
    const PartialCurve& preview() const noexcept { return preview_; }
    bool undoEnabled() const noexcept { return undoEnabled_; }

    int32_t transform() const noexcept { return transform_; }
    float value() const noexcept { return value_; }
    int32_t transferMode() const noexcept { return transferMode_; }
    void setTransferMode(int32_t mode) noexcept { transferMode_ = mode; }

    // A "Macro" generator over the whole scratchpad, then the preview. False for an unknown command
    // (the caller says "Not implemented !").
    bool generate(int32_t command);
    // Chooses the transform and its value (clamped to −2 … 2) and recomputes the preview. False for an
    // unknown transform (the preview then copies the scratchpad).
    bool setTransform(int32_t transform, float value);
    // The preview from the scratchpad with the current transform and value.
    bool recomputePreview();
    // "Apply": the preview becomes the scratchpad; the preview is recomputed.
    void apply();

    // "\/": spectrum into the scratchpad through the transfer mode and mask. Saves spectrum as the
    // undo copy and enables undo.
    void takeFrom(const PartialCurve& spectrum, const std::vector<bool>& mask);
    // "/\": the scratchpad into spectrum through the transfer mode and mask. Saves the spectrum's
    // previous values as the undo copy and enables undo.
    void sendTo(PartialCurve& spectrum, const std::vector<bool>& mask);
    // "<": puts the undo copy back into spectrum and disables undo. False (nothing done) when disabled.
    bool undo(PartialCurve& spectrum);
    // "X": exchanges the scratchpad and spectrum.
    void swapWith(PartialCurve& spectrum);

private:
    void saveUndo(const PartialCurve& spectrum);

    PartialCurve curve_;
    PartialCurve preview_;
    PartialCurve undo_;
    bool undoEnabled_ = false;
    int32_t transform_ = kTransformScale;
    float value_ = 1.0f;
    int32_t transferMode_ = kTransferCopy;
};

}  // namespace quenvale::editor
