// Every fixed capacity of the synthesizer in one place.
#pragma once

#include <cstdint>

namespace quenvale {

inline constexpr int kVoiceCount = 32;
inline constexpr int kMaxPartials = 512;
inline constexpr int kPartialsPerGroup = 4;
inline constexpr int kMaxPartialGroups = kMaxPartials / kPartialsPerGroup;  // 128 blocks
inline constexpr int kProgramCount = 128;
inline constexpr int kParameterCount = 383;
inline constexpr int kAllParameters = 383;  // refresh index meaning "every parameter"
inline constexpr int kControlTickSamples = 64;
inline constexpr int kDelayLineLength = 65536;  // PWM and channel-effect lines
inline constexpr int kEnvelopeCount = 6;
inline constexpr int kVoiceLfoCount = 8;
inline constexpr int kLfoGroupSize = 4;
inline constexpr int kChannelLfoCount = 4;
inline constexpr int kStepSeqCount = 4;
inline constexpr int kMaxSteps = 32;
inline constexpr int kMaxCurveSegments = 32;
inline constexpr int kChannelEffectCount = 2;
inline constexpr int kMacroCount = 6;
inline constexpr int kControllerCount = 128;
inline constexpr int kNoteCount = 128;
inline constexpr int kMidiBatchSize = 256;
inline constexpr int kNameFieldSize = 17;  // 16 characters and a terminator
inline constexpr int kHostStringSize = 64;  // bound of texts copied into host buffers
inline constexpr int kVoiceSourceCount = 158;    // ModSource 0 … 157
inline constexpr int kChannelSourceCount = 139;  // ChModSource 0 … 138

static_assert(kMaxPartials % kPartialsPerGroup == 0);
static_assert((kDelayLineLength & (kDelayLineLength - 1)) == 0, "lines are indexed with a mask");

}  // namespace quenvale
