// The editor's two modulation-source menus as data: a small tree of items with their texts and
// command identifiers (source number − 1; "No Modulation" is −1).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quenvale {

enum class SourceMenuItemType { Command, Submenu, Separator };

struct SourceMenuItem {
    SourceMenuItemType type = SourceMenuItemType::Separator;
    std::string text;                      // empty for separators
    int32_t command = 0;                   // Command items only
    std::vector<SourceMenuItem> children;  // Submenu items only
};

// The control keeps a slot's choice as the item's identifier; the binding stores identifier + 1.
constexpr int32_t sourceFromMenuCommand(int32_t command) noexcept {
    return command + 1;
}
constexpr int32_t menuCommandFromSource(int32_t source) noexcept {
    return source - 1;
}

// [ui] The top-level items of the voice-numbering menu (slots of per-voice values) and of the
// channel-numbering menu ("Ch" parameters). Built once, on first use; immutable afterwards.
const std::vector<SourceMenuItem>& voiceSourceMenu();
const std::vector<SourceMenuItem>& channelSourceMenu();

}  // namespace quenvale
