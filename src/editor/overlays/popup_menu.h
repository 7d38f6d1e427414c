// Popup menus drawn inside the editor window: items, separators, check marks, colour swatches and
// submenus to any depth. A level too tall for the window is laid out in columns (and scrolls with the
// wheel when even the columns do not fit). Used for the modulation source menus, enum value menus, step
// shapes, the program list and the spectrum editor's macro menu.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/ui/overlay.h"
#include "editor/ui/theme.h"

namespace quenvale::editor {

struct MenuItem {
    std::string text;
    int32_t id = 0;
    bool checked = false;
    bool enabled = true;
    bool separator = false;
    std::optional<ui::theme::Colour> swatch;  // a colour mark before the text (modulation sources)
    std::vector<MenuItem> children;            // a submenu when not empty

    static MenuItem command(std::string text, int32_t id, bool checked = false) {
        MenuItem m;
        m.text = std::move(text);
        m.id = id;
        m.checked = checked;
        return m;
    }
    static MenuItem line() {
        MenuItem m;
        m.separator = true;
        return m;
    }
    static MenuItem submenu(std::string text, std::vector<MenuItem> children) {
        MenuItem m;
        m.text = std::move(text);
        m.children = std::move(children);
        return m;
    }
};

class PopupMenu : public ui::Overlay {
public:
    using ChooseFn = std::function<void(int32_t id)>;

    // at: the window position of the menu's top-left corner (moved to fit inside the window).
    // minWidth: at least this wide (a drop-down under a field is as wide as the field).
    PopupMenu(std::vector<MenuItem> items, ui::Point at, ChooseFn onChoose, std::function<void()> onDismiss = {},
              int minWidth = 0);

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseHover(const ui::MouseEvent& e) override;
    bool mouseWheel(const ui::MouseEvent& e) override;
    bool keyDown(const ui::KeyEvent& key) override;
    void paint(cairo_t* cr) override;
    ui::Widget* widgetAt(ui::Point) override { return this; }
    const char* kind() const override { return "menu"; }

    // Tests and tools: the window rectangle of the item at path (indices from the top level down),
    // opening the submenus on the way; empty when there is no such item.
    ui::Rect itemRect(const std::vector<int>& path);
    // The number of open levels (1 + open submenus).
    int openLevels() const noexcept { return static_cast<int>(levels_.size()); }

private:
    struct Level {
        const std::vector<MenuItem>* items;
        ui::Rect box;      // window coordinates
        int rowsPerColumn = 1;
        int columnWidth = 0;
        int scroll = 0;    // first row shown when the columns do not fit
        int hot = -1;      // item under the pointer
    };
    struct Hit {
        int level = -1;
        int item = -1;
    };

    void openLevel(const std::vector<MenuItem>& items, ui::Point at, int minWidth, int besideWidth);
    Hit hitAt(ui::Point windowPos) const;
    ui::Rect itemBox(const Level& level, int item) const;
    void track(ui::Point windowPos);
    void choose(const Hit& hit);
    void dismiss();

    std::vector<MenuItem> items_;
    std::vector<Level> levels_;
    ChooseFn onChoose_;
    std::function<void()> onDismiss_;
    bool pressedInside_ = false;
};

// Opens a menu on root and returns it.
PopupMenu& openPopupMenu(ui::RootView& root, std::vector<MenuItem> items, ui::Point at, PopupMenu::ChooseFn onChoose,
                         std::function<void()> onDismiss = {}, int minWidth = 0);

// The modulation source menus (voice or channel numbering) with each source's colour; the item of
// `source` is checked. An item's id is the source number (0 "No Modulation" … 157 or 138).
std::vector<MenuItem> sourceMenuItems(bool channelNumbering, int32_t source);
// The value names of an enumerated parameter, item i = value i, the current value checked.
std::vector<MenuItem> valueMenuItems(int32_t parameterIndex, int32_t current);

}  // namespace quenvale::editor
