// The two source tables, generated at compile time from the numberings' ranges.
#include "params/mod_sources.h"

#include <array>
#include <cstring>

namespace quenvale {
namespace {

constexpr ModSourceInfo numbered(char letter, int32_t n, bool bipolar, uint32_t colour) {
    return {{letter, static_cast<char>('0' + n), '\0', '\0'}, bipolar, colour};
}

constexpr ModSourceInfo controller(int32_t c) {
    constexpr char kHex[] = "0123456789ABCDEF";
    return {{kHex[c >> 4], kHex[c & 15], '\0', '\0'}, false, kColourController};
}

constexpr auto kVoiceSources = [] {
    std::array<ModSourceInfo, kVoiceSourceCount - 1> t{};
    int32_t i = 0;
    for (int32_t n = 1; n <= 6; ++n) t[i++] = numbered('E', n, false, kColourVoiceEnvelope);
    for (int32_t n = 1; n <= 8; ++n) t[i++] = numbered('L', n, true, kColourVoiceLfo);
    for (int32_t n = 1; n <= 4; ++n) t[i++] = numbered('G', n, true, kColourChannelLfo);
    t[i++] = {{'V', '\0', '\0', '\0'}, false, kColourVelocity};
    for (int32_t c = 0; c < kControllerCount; ++c) t[i++] = controller(c);
    for (int32_t n = 1; n <= 6; ++n) t[i++] = numbered('M', n, false, kColourMacro);
    for (int32_t n = 1; n <= 4; ++n) t[i++] = numbered('S', n, false, kColourVoiceStepSeq);
    return i == static_cast<int32_t>(t.size()) ? t : throw "voice numbering incomplete";
}();

constexpr auto kChannelSources = [] {
    std::array<ModSourceInfo, kChannelSourceCount - 1> t{};
    int32_t i = 0;
    for (int32_t n = 1; n <= 4; ++n) t[i++] = numbered('G', n, true, kColourChannelLfo);
    for (int32_t c = 0; c < kControllerCount; ++c) t[i++] = controller(c);
    for (int32_t n = 1; n <= 6; ++n) t[i++] = numbered('M', n, false, kColourMacro);
    return i == static_cast<int32_t>(t.size()) ? t : throw "channel numbering incomplete";
}();

}  // namespace

std::span<const ModSourceInfo, kVoiceSourceCount - 1> voiceSourceTable() noexcept {
    return kVoiceSources;
}

std::span<const ModSourceInfo, kChannelSourceCount - 1> channelSourceTable() noexcept {
    return kChannelSources;
}

bool usesChannelNumbering(const char* parameterName) noexcept {
    return parameterName != nullptr && std::strncmp(parameterName, "Ch", 2) == 0;
}

bool isSlotSourceName(const char* parameterName) noexcept {
    return parameterName != nullptr && std::strstr(parameterName, "ModSrc") != nullptr;
}

}  // namespace quenvale
