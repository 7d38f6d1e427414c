// What widgets may ask of the window system, without knowing which one it is. The X11 layer implements
// it; headless use (tests, the screenshot tool) gets RecordingServices, which only remembers requests.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/ui/geometry.h"

namespace quenvale::ui {

enum class PointerShape : uint8_t { Arrow, Hand, HorizontalResize, VerticalResize, Text };

class PlatformServices {
public:
    virtual ~PlatformServices() = default;
    // Puts the pointer at a window position (drags that are not limited by the screen edge).
    virtual void warpPointer(Point windowPos) = 0;
    virtual void setPointerHidden(bool hidden) = 0;
    virtual void setCursor(PointerShape shape) = 0;
};

// [editor thread] Remembers every request; tests read them back.
class RecordingServices final : public PlatformServices {
public:
    void warpPointer(Point windowPos) override { warps.push_back(windowPos); }
    void setPointerHidden(bool hidden) override { pointerHidden = hidden; }
    void setCursor(PointerShape shape) override { cursor = shape; }

    std::vector<Point> warps;
    bool pointerHidden = false;
    PointerShape cursor = PointerShape::Arrow;
};

}  // namespace quenvale::ui
