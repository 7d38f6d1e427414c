// The modulation source numberings as the editor shows them: short name, bipolar flag and colour.
#pragma once

#include <cstdint>
#include <span>

#include "common/capacity.h"

namespace quenvale {

// Colours as Windows RGB values, 0x00BBGGRR.
inline constexpr uint32_t kColourVoiceEnvelope = 0x7E61C5;
inline constexpr uint32_t kColourVoiceLfo = 0x588C62;
inline constexpr uint32_t kColourChannelLfo = 0x79793B;
inline constexpr uint32_t kColourVelocity = 0xC56165;
inline constexpr uint32_t kColourController = 0xC58CC5;
inline constexpr uint32_t kColourMacro = 0x7EC561;
inline constexpr uint32_t kColourVoiceStepSeq = 0x5879C5;

struct ModSourceInfo {
    char shortName[4];  // "E1", "L8", "G4", "V", "00" … "7F", "M1", "S4"
    bool bipolar;       // LFO sources: the reachable range is drawn as value ± amount
    uint32_t colour;
};

// [any] One entry per source number except 0, in number order: entry s − 1 describes source s.
std::span<const ModSourceInfo, kVoiceSourceCount - 1> voiceSourceTable() noexcept;
std::span<const ModSourceInfo, kChannelSourceCount - 1> channelSourceTable() noexcept;

// [any] A parameter whose name begins with "Ch" takes its slot sources in the channel numbering;
// every other one (the step sequencers' included) in the voice numbering.
bool usesChannelNumbering(const char* parameterName) noexcept;
// [any] A parameter whose name contains "ModSrc" is a slot's source entry.
bool isSlotSourceName(const char* parameterName) noexcept;

}  // namespace quenvale
