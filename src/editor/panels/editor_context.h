// What every panel is built with: the model it binds to, the window's root (overlays, services), the
// main panel's sink, and the file dialogs.
#pragma once

#include "editor/model/editor_model.h"
#include "editor/ui/root_view.h"

namespace quenvale::editor {

class FileDialogs;

// Observer of the main panel (GuiMain): what pages report upwards.
class GuiMainSink {
public:
    virtual ~GuiMainSink() = default;
    // The sound was edited outside the parameter binding (spectrum, partial count): sets `changed`.
    virtual void programEdited() = 0;
};

struct EditorContext {
    EditorModel& model;
    ui::RootView& root;
    GuiMainSink& main;
    FileDialogs& files;
};

}  // namespace quenvale::editor
