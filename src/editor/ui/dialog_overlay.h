// A dialog drawn inside the editor window: a titled box over the shaded window, closed by Escape.
#pragma once

#include "editor/ui/overlay.h"

namespace quenvale::ui {

class DialogOverlay : public Overlay {
public:
    using Overlay::Overlay;

    // Escape closes without an answer; Enter calls enterPressed().
    bool keyDown(const KeyEvent& key) override;
    // The shade, the face, the title bar with label(), then the controls.
    void paint(cairo_t* cr) override;

protected:
    // Enter: a dialog that has a default answer gives it and returns true.
    virtual bool enterPressed() { return false; }
};

}  // namespace quenvale::ui
