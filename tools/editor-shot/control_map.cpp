// Control maps as JSON.
#include "control_map.h"

#include <cstdio>
#include <cstring>

namespace quenvale::editor {

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

namespace {

std::string rectJson(const ui::Widget* w) {
    if (w == nullptr) return "null";
    const ui::Rect r = w->windowRect();
    char text[96];
    std::snprintf(text, sizeof text, "{\"x\": %d, \"y\": %d, \"w\": %d, \"h\": %d}", r.x, r.y, r.w, r.h);
    return text;
}

}  // namespace

std::string controlMapJson(ui::Widget& root, const std::string& name, const std::string& page,
                           const std::string& instance, const ui::Widget* pageButton, const ui::Widget* instanceButton) {
    std::string out = "{\n  \"name\": " + jsonString(name) + ",\n  \"page\": " + jsonString(page) +
                      ",\n  \"instance\": " + jsonString(instance) + ",\n  \"pageButton\": " + rectJson(pageButton) +
                      ",\n  \"instanceButton\": " + rectJson(instanceButton) + ",\n  \"controls\": [";
    bool first = true;
    ui::forEachWidget(root, [&](ui::Widget& w) {
        const char* kind = w.kind();
        if (!w.showing() || std::strcmp(kind, "panel") == 0 || std::strcmp(kind, "page") == 0 ||
            std::strcmp(kind, "widget") == 0)
            return;
        const ui::Rect r = w.windowRect();
        std::string params = "[";
        for (size_t i = 0; i < w.parameters().size(); ++i) {
            if (i > 0) params += ", ";
            params += std::to_string(w.parameters()[i]);
        }
        params += "]";
        char geometry[96];
        std::snprintf(geometry, sizeof geometry, "\"x\": %d, \"y\": %d, \"w\": %d, \"h\": %d", r.x, r.y, r.w, r.h);
        out += first ? "\n    " : ",\n    ";
        first = false;
        out += "{\"label\": " + jsonString(w.label()) + ", \"kind\": " + jsonString(kind) + ", \"params\": " + params +
               ", " + geometry + ", \"page\": " + jsonString(page) + ", \"instance\": " + jsonString(instance) + "}";
    });
    out += "\n  ]\n}\n";
    return out;
}

}  // namespace quenvale::editor
