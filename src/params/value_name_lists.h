// The value-name lists of the enumerated parameters, leading blanks included.
#pragma once

namespace quenvale {

// Each list is a run of NUL-terminated names ending with an empty string (the literal's own
// terminator closes the last name's run).
// clang-format off
inline constexpr char kVoiceSourceNames[] = "NA\0" "E1\0" "E2\0" "E3\0" "L1\0" "L2\0" "G1\0" "G2\0" "V\0";
inline constexpr char kChannelSourceNames[] = "NA\0" "G1\0" "G2\0";
inline constexpr char kPwmModeNames[] = "None\0" "Add\0" "Sub\0" "Mul\0";
inline constexpr char kCompressorModeNames[] = "Off\0" "Peak HardKnee\0";
inline constexpr char kSyncNames[] = "Off\0" " 4/4\0" " 3/4\0" " 2/3\0" " 1/2\0" " 3/8\0" " 1/3\0" " 1/4\0"
                                     " 3/16\0" " 1/8\0" " 1/12\0" " 1/16\0" " 1/32\0";
inline constexpr char kLengthNames[] = " 1\0" " 2\0" " 3\0" " 4\0" " 8\0" " 12\0" " 16\0" " 24\0" " 32\0";
// Seven names for a range of six values: "Parabol" is never reached.
inline constexpr char kLfoTypeNames[] = "Off\0" "Sine\0" "Saw\0" "InvSaw\0" "Pulse\0" "Tri\0" "Parabol\0";
inline constexpr char kEffectTypeNames[] = "None\0" "Delay\0" "Comb\0";
// clang-format on

}  // namespace quenvale
