// The control map of the editor as it is shown: every control with its label, kind, parameters and
// window rectangle, as JSON. The screenshot tool writes it; the window tests read it to find controls.
#pragma once

#include <string>

#include "editor/ui/widget.h"

namespace quenvale::editor {

// JSON-escapes text (quotes, backslashes, control characters).
std::string jsonString(const std::string& text);

// {"name", "page", "instance", "pageButton": rect, "instanceButton": rect or null, "controls": [...]} for
// the showing widgets under root. Containers (panels, pages) are left out; frames, buttons, knobs and
// the other controls are listed, each {"label", "kind", "params", "x", "y", "w", "h", "page", "instance"}.
std::string controlMapJson(ui::Widget& root, const std::string& name, const std::string& page,
                           const std::string& instance, const ui::Widget* pageButton, const ui::Widget* instanceButton);

}  // namespace quenvale::editor
