// A page of the main panel ("Voice", "Modulators", "Effects"): a panel that fills the page frame and
// may hold several views (the instance pages: "Env1" … "ChLfo4").
#pragma once

#include <string>

#include "editor/panels/editor_context.h"
#include "editor/ui/panel.h"

namespace quenvale::editor {

class Page : public ui::FilledPanel {
public:
    Page(EditorContext& context, ui::Rect bounds, std::string name);

    // The views this page can show: at least one. Names are file-name friendly ("Lfo3"); a page with a
    // single view names it "".
    virtual int viewCount() const { return 1; }
    virtual std::string viewName(int) const { return {}; }
    // Shows view i and returns the button that leads there (null for the only view).
    virtual ui::Widget* showView(int) { return nullptr; }
    // The 20 ms timer while this page is visible (meters, waveform phase).
    virtual void timerTick() {}
    const char* kind() const override { return "page"; }

protected:
    EditorContext& context_;
};

}  // namespace quenvale::editor
