// Menu layout (columns, fitting inside the window, submenus beside their item), tracking and choosing.
#include "editor/overlays/popup_menu.h"

#include <algorithm>
#include <cmath>

#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"
#include "params/mod_sources.h"
#include "params/parameter_catalogue.h"
#include "params/source_menus.h"

namespace quenvale::editor {

using namespace ui;

namespace {

constexpr int kPad = 4;
constexpr int kTextInset = 22;  // room for the check mark or swatch
constexpr int kArrowRoom = 16;
constexpr int kSeparatorHeight = 7;

// Every item has the same height so columns stay aligned; separators are thinner only in one column.
int rowHeight(const MenuItem& item) {
    return item.separator ? kSeparatorHeight : theme::kMenuItemHeight;
}

// The widest text of a level, measured on a scratch surface (menus are laid out before they are painted).
double widestText(const std::vector<MenuItem>& items) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    draw::setFont(cr, theme::kFontSize);
    double widest = 0;
    for (const MenuItem& m : items) widest = std::max(widest, draw::textWidth(cr, m.text));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return widest;
}

}  // namespace

PopupMenu::PopupMenu(std::vector<MenuItem> items, Point at, ChooseFn onChoose, std::function<void()> onDismiss,
                     int minWidth)
    : Overlay({}), items_(std::move(items)), onChoose_(std::move(onChoose)), onDismiss_(std::move(onDismiss)) {
    shade_ = false;
    openLevel(items_, at, minWidth, 0);
}

void PopupMenu::openLevel(const std::vector<MenuItem>& items, Point at, int minWidth, int besideWidth) {
    Level level;
    level.items = &items;
    const double widest = widestText(items);
    level.columnWidth = std::max({minWidth, theme::kMenuMinWidth, static_cast<int>(widest) + kTextInset + kArrowRoom});

    // Rows per column: as many as fit in the window's height.
    const int usable = theme::kWindowHeight - 2 * kPad;
    int total = 0;
    for (const MenuItem& m : items) total += rowHeight(m);
    const int maxRows = std::max(1, usable / theme::kMenuItemHeight);
    int columns = 1;
    level.rowsPerColumn = static_cast<int>(items.size());
    if (total > usable) {
        columns = static_cast<int>((items.size() + maxRows - 1) / maxRows);
        level.rowsPerColumn = maxRows;
    }
    // Columns that do not fit side by side scroll sideways by whole columns (wheel).
    const int maxColumns = std::max(1, (theme::kWindowWidth - 2 * kPad) / level.columnWidth);
    const int shownColumns = std::min(columns, maxColumns);
    int height = 0;
    if (columns == 1) {
        height = total;
    } else {
        height = level.rowsPerColumn * theme::kMenuItemHeight;
    }
    Rect box{at.x, at.y, shownColumns * level.columnWidth + 2 * kPad, height + 2 * kPad};
    // Fit: a submenu that does not fit on the right of its parent goes to the left of it.
    if (box.right() > theme::kWindowWidth) {
        box.x = besideWidth > 0 ? at.x - besideWidth - box.w : theme::kWindowWidth - box.w;
    }
    box.x = std::clamp(box.x, 0, std::max(0, theme::kWindowWidth - box.w));
    if (box.bottom() > theme::kWindowHeight) box.y = theme::kWindowHeight - box.h;
    box.y = std::max(0, box.y);
    level.box = box;
    levels_.push_back(level);
    setContent(levels_.front().box);
    invalidate();
}

Rect PopupMenu::itemBox(const Level& level, int item) const {
    const auto& items = *level.items;
    const int column = item / level.rowsPerColumn - level.scroll;
    const int row = item % level.rowsPerColumn;
    int y = level.box.y + kPad;
    if (level.rowsPerColumn == static_cast<int>(items.size())) {
        for (int i = 0; i < item; ++i) y += rowHeight(items[i]);
    } else {
        y += row * theme::kMenuItemHeight;
    }
    const int h = level.rowsPerColumn == static_cast<int>(items.size()) ? rowHeight(items[item]) : theme::kMenuItemHeight;
    return {level.box.x + kPad + column * level.columnWidth, y, level.columnWidth, h};
}

PopupMenu::Hit PopupMenu::hitAt(Point p) const {
    for (int l = static_cast<int>(levels_.size()) - 1; l >= 0; --l) {
        const Level& level = levels_[l];
        if (!level.box.contains(p)) continue;
        for (int i = 0; i < static_cast<int>(level.items->size()); ++i) {
            const Rect r = itemBox(level, i);
            if (r.x < level.box.x || r.right() > level.box.right()) continue;  // scrolled away
            if (r.contains(p)) return {l, i};
        }
        return {l, -1};
    }
    return {};
}

void PopupMenu::track(Point p) {
    const Hit hit = hitAt(p);
    if (hit.level < 0) return;
    Level& level = levels_[hit.level];
    if (level.hot != hit.item) {
        level.hot = hit.item;
        invalidate();
    }
    if (hit.item < 0) return;
    // Hovering an item closes deeper levels; a submenu item opens its submenu beside it.
    if (static_cast<int>(levels_.size()) > hit.level + 1) {
        const bool sameOpen = levels_[hit.level + 1].items == &(*level.items)[hit.item].children;
        if (sameOpen) return;
        levels_.resize(hit.level + 1);
        invalidate();
    }
    const MenuItem& item = (*levels_[hit.level].items)[hit.item];
    if (!item.children.empty() && item.enabled) {
        const Rect r = itemBox(levels_[hit.level], hit.item);
        openLevel(item.children, {r.right() + kPad, r.y - kPad}, 0, r.w);
    }
}

bool PopupMenu::mouseDown(const MouseEvent& e) {
    const Hit hit = hitAt(e.windowPos);
    if (hit.level < 0) {
        dismiss();
        return true;
    }
    pressedInside_ = true;
    track(e.windowPos);
    return true;
}

void PopupMenu::mouseDrag(const MouseEvent& e) {
    track(e.windowPos);
}

void PopupMenu::mouseHover(const MouseEvent& e) {
    track(e.windowPos);
}

void PopupMenu::mouseUp(const MouseEvent& e) {
    if (!pressedInside_) return;
    pressedInside_ = false;
    const Hit hit = hitAt(e.windowPos);
    if (hit.level >= 0 && hit.item >= 0) choose(hit);
}

bool PopupMenu::mouseWheel(const MouseEvent& e) {
    const Hit hit = hitAt(e.windowPos);
    if (hit.level < 0) return true;
    Level& level = levels_[hit.level];
    const int columns = static_cast<int>((level.items->size() + level.rowsPerColumn - 1) / level.rowsPerColumn);
    const int shown = (level.box.w - 2 * kPad) / level.columnWidth;
    level.scroll = std::clamp(level.scroll - e.wheelSteps, 0, std::max(0, columns - shown));
    levels_.resize(hit.level + 1);
    invalidate();
    return true;
}

bool PopupMenu::keyDown(const KeyEvent& key) {
    if (key.key == Key::Escape) {
        dismiss();
        return true;
    }
    return false;
}

void PopupMenu::choose(const Hit& hit) {
    const MenuItem& item = (*levels_[hit.level].items)[hit.item];
    if (item.separator || !item.enabled || !item.children.empty()) return;
    const int32_t id = item.id;
    ChooseFn fn = std::move(onChoose_);
    close();
    if (fn) fn(id);
}

void PopupMenu::dismiss() {
    std::function<void()> fn = std::move(onDismiss_);
    close();
    if (fn) fn();
}

Rect PopupMenu::itemRect(const std::vector<int>& path) {
    Rect r{};
    for (size_t depth = 0; depth < path.size(); ++depth) {
        if (depth >= levels_.size()) return {};
        const Level& level = levels_[depth];
        if (path[depth] < 0 || path[depth] >= static_cast<int>(level.items->size())) return {};
        r = itemBox(level, path[depth]);
        if (depth + 1 < path.size()) track({r.x + r.w / 2, r.y + r.h / 2});
    }
    return r;
}

void PopupMenu::paint(cairo_t* cr) {
    for (size_t l = 0; l < levels_.size(); ++l) {
        const Level& level = levels_[l];
        draw::fillRect(cr, level.box, theme::kDialogBackground);
        draw::strokeRect(cr, level.box, theme::kFrameBorder);
        const auto& items = *level.items;
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            const Rect r = itemBox(level, i);
            if (r.x < level.box.x || r.right() > level.box.right()) continue;
            const MenuItem& item = items[i];
            if (item.separator) {
                draw::fillRect(cr, {r.x + 4, r.y + r.h / 2, r.w - 8, 1}, theme::kFrameBorder);
                continue;
            }
            const bool open = l + 1 < levels_.size() && levels_[l + 1].items == &item.children;
            if ((i == level.hot || open) && item.enabled) draw::fillRect(cr, r, theme::kSelection);
            if (item.swatch) draw::fillRoundedRect(cr, {r.x + 5, r.y + 4, 11, r.h - 8}, *item.swatch, 2);
            if (item.checked) draw::text(cr, {r.x + 4, r.y, 14, r.h}, "\u2713", theme::kText);
            draw::text(cr, {r.x + kTextInset, r.y, r.w - kTextInset - kArrowRoom, r.h}, item.text,
                       item.enabled ? theme::kText : theme::kTextDisabled);
            if (!item.children.empty()) draw::text(cr, {r.right() - kArrowRoom, r.y, kArrowRoom, r.h}, "\u25B8", theme::kTextDim);
        }
    }
}

PopupMenu& openPopupMenu(RootView& root, std::vector<MenuItem> items, Point at, PopupMenu::ChooseFn onChoose,
                         std::function<void()> onDismiss, int minWidth) {
    return root.openOverlay(
        std::make_unique<PopupMenu>(std::move(items), at, std::move(onChoose), std::move(onDismiss), minWidth));
}

namespace {

std::vector<MenuItem> convert(const std::vector<SourceMenuItem>& in, bool channel, int32_t source, bool& anyChecked) {
    std::vector<MenuItem> out;
    for (const SourceMenuItem& s : in) {
        switch (s.type) {
            case SourceMenuItemType::Separator:
                out.push_back(MenuItem::line());
                break;
            case SourceMenuItemType::Submenu: {
                bool inside = false;
                MenuItem m = MenuItem::submenu(s.text, convert(s.children, channel, source, inside));
                m.checked = inside;
                anyChecked |= inside;
                out.push_back(std::move(m));
                break;
            }
            case SourceMenuItemType::Command: {
                const int32_t number = sourceFromMenuCommand(s.command);
                MenuItem m = MenuItem::command(s.text, number, number == source);
                anyChecked |= m.checked;
                if (number > 0) {
                    const uint32_t colour =
                        channel ? channelSourceTable()[number - 1].colour : voiceSourceTable()[number - 1].colour;
                    m.swatch = theme::bgr(colour);
                }
                out.push_back(std::move(m));
                break;
            }
        }
    }
    return out;
}

}  // namespace

std::vector<MenuItem> sourceMenuItems(bool channelNumbering, int32_t source) {
    bool any = false;
    return convert(channelNumbering ? channelSourceMenu() : voiceSourceMenu(), channelNumbering, source, any);
}

std::vector<MenuItem> valueMenuItems(int32_t parameterIndex, int32_t current) {
    std::vector<MenuItem> out;
    const ParameterDescriptor& d = descriptor(parameterIndex);
    if (d.valueNames == nullptr) return out;
    int32_t i = 0;
    for (const char* name = d.valueNames; *name != '\0'; name += std::char_traits<char>::length(name) + 1, ++i)
        out.push_back(MenuItem::command(name, i, i == current));
    return out;
}

}  // namespace quenvale::editor
