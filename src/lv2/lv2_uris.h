// The names under which hosts know the synthesizer: plug-in, state keys and presets. Stable: host
// sessions and presets store them.
#pragma once

#include <cstdio>
#include <string>

namespace quenvale::lv2 {

inline constexpr const char* kPluginUri = "urn:quenvale:synth";
// The whole bank and the live channel state: the same bytes as the VST 2 chunk (atom:Chunk).
inline constexpr const char* kStateChunkUri = "urn:quenvale:synth#chunk";
// The current program number (atom:Int, 0 … 127).
inline constexpr const char* kStateProgramUri = "urn:quenvale:synth#program";
// One program's record (atom:Chunk); a preset carries it with its program number instead of a chunk.
inline constexpr const char* kStateProgramRecordUri = "urn:quenvale:synth#programRecord";
// Preset n of the bundle is this prefix followed by n in three digits ("…preset-004").
inline constexpr const char* kPresetUriPrefix = "urn:quenvale:synth:preset-";

// The address of program n's preset.
inline std::string presetUri(int program) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", program);
    return kPresetUriPrefix + std::string(digits);
}

}  // namespace quenvale::lv2
