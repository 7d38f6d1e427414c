// A widget that holds other widgets: children are laid out in the panel's own coordinates and painted
// after the panel's background, in the order they were added.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "editor/ui/theme.h"
#include "editor/ui/widget.h"

namespace quenvale::ui {

class Panel : public Widget {
public:
    explicit Panel(Rect bounds = {}) : Widget(bounds) {}
    ~Panel() override;

    // Adds a child owned by this panel and returns it: add<Button>(Rect{...}, "Save").
    template <typename T, typename... Args>
    T& add(Args&&... args) {
        auto child = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *child;
        adopt(std::move(child));
        return ref;
    }
    Widget& adopt(std::unique_ptr<Widget> child);
    // Removes and destroys a child.
    void remove(Widget& child);
    const std::vector<std::unique_ptr<Widget>>& children() const noexcept { return children_; }

    void paint(cairo_t* cr) override;
    Widget* widgetAt(Point local) override;
    void forEachChild(const std::function<void(Widget&)>& fn) override;
    void refreshFromModel() override;
    const char* kind() const override { return "panel"; }

    // Paints this panel's children only (for panels that draw something over their children).
    void paintChildren(cairo_t* cr);

protected:
    // What lies under the children; the default fills nothing, so the parent's background shows.
    virtual void paintBackground(cairo_t*) {}

private:
    std::vector<std::unique_ptr<Widget>> children_;
};

// A titled, bordered group ("Envelopes", "Channel FX 1", "Mix").
class Frame : public Panel {
public:
    Frame(Rect bounds, std::string title);
    // The area inside the border and below the title, in the frame's coordinates.
    Rect contentRect() const noexcept;
    const char* kind() const override { return "frame"; }

protected:
    void paintBackground(cairo_t* cr) override;
};

// A panel with a plain background colour (pages, headers).
class FilledPanel : public Panel {
public:
    FilledPanel(Rect bounds, theme::Colour colour) : Panel(bounds), colour_(colour) {}

protected:
    void paintBackground(cairo_t* cr) override;

private:
    theme::Colour colour_;
};

}  // namespace quenvale::ui
