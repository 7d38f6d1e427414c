// Construction of the two modulation-source menus.
#include "params/source_menus.h"

#include <cstdio>

#include "common/capacity.h"

namespace quenvale {
namespace {

constexpr int32_t kNoModulation = -1;
constexpr int32_t kControllersPerSubmenu = 16;

template <class... Args>
std::string format(const char* fmt, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, fmt, args...);
    return text;
}

SourceMenuItem command(std::string text, int32_t id) {
    return {SourceMenuItemType::Command, std::move(text), id, {}};
}

SourceMenuItem separator() {
    return {};
}

SourceMenuItem submenu(std::string text, std::vector<SourceMenuItem> children) {
    return {SourceMenuItemType::Submenu, std::move(text), 0, std::move(children)};
}

// count items "itemFormat" numbered from 1, identifiers from firstId.
SourceMenuItem numberedSubmenu(const char* title, const char* itemFormat, int32_t count, int32_t firstId) {
    std::vector<SourceMenuItem> items;
    for (int32_t n = 1; n <= count; ++n) items.push_back(command(format(itemFormat, n), firstId + n - 1));
    return submenu(title, std::move(items));
}

// Eight submenus of sixteen controllers; controller c has identifier c + idOffset.
SourceMenuItem controllerSubmenu(const char* title, const char* groupFormat, const char* itemFormat,
                                 int32_t idOffset) {
    std::vector<SourceMenuItem> groups;
    for (int32_t first = 0; first < kControllerCount; first += kControllersPerSubmenu) {
        const int32_t last = first + kControllersPerSubmenu - 1;
        std::vector<SourceMenuItem> items;
        for (int32_t c = first; c <= last; ++c)
            items.push_back(command(format(itemFormat, c, c), c + idOffset));
        groups.push_back(submenu(format(groupFormat, first, last, first, last), std::move(items)));
    }
    return submenu(title, std::move(groups));
}

std::vector<SourceMenuItem> buildVoiceMenu() {
    return {
        command("No Modulation", kNoModulation),
        separator(),
        numberedSubmenu("Voice Envelopes", "Voice Envelope %d", 6, 0),
        numberedSubmenu("Voice Lfos", "Voice Lfo %d", 8, 6),
        numberedSubmenu("Voice StepSeqs", "Voice StepSeq %d", 4, 153),
        submenu("Voice Parameters", {command("Voice Velocity", 18)}),
        separator(),
        numberedSubmenu("Channel Lfos", "Channel Lfo %d", 4, 14),
        controllerSubmenu("Channel Controllers", "Channel Controllers %02X - %02X (%d - %d)",
                          "Channel Controller %02X (%d)", 19),
        separator(),
        numberedSubmenu("MacroParams", "MacroParam %d", 6, 147),
    };
}

std::vector<SourceMenuItem> buildChannelMenu() {
    return {
        command("No Modulation", kNoModulation),
        separator(),
        numberedSubmenu("Channel Lfos", "Channel-Lfo %d", 4, 0),
        controllerSubmenu("Channel Controllers", "Controllers %02X - %02X (%d - %d)", "Controller %02X (%d)",
                          4),
        separator(),
        numberedSubmenu("MacroParams", "MacroParam %d", 6, 132),
    };
}

}  // namespace

const std::vector<SourceMenuItem>& voiceSourceMenu() {
    static const std::vector<SourceMenuItem> menu = buildVoiceMenu();
    return menu;
}

const std::vector<SourceMenuItem>& channelSourceMenu() {
    static const std::vector<SourceMenuItem> menu = buildChannelMenu();
    return menu;
}

}  // namespace quenvale
