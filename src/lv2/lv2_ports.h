// Port layout of the LV2 plug-in: the 383 parameters first, in the VST 2 index order, so a
// parameter's port index is its parameter index; then MIDI and time input, audio out, program out.
#pragma once

#include <cstdint>

#include "common/capacity.h"

namespace quenvale::lv2 {

inline constexpr uint32_t kFirstParameterPort = 0;
inline constexpr uint32_t kEventsPort = kParameterCount;          // atom:Sequence of MIDI and time:Position
inline constexpr uint32_t kLeftOutPort = kParameterCount + 1;     // audio
inline constexpr uint32_t kRightOutPort = kParameterCount + 2;    // audio
inline constexpr uint32_t kProgramOutPort = kParameterCount + 3;  // control output: the current program
inline constexpr uint32_t kPortCount = kParameterCount + 4;

}  // namespace quenvale::lv2
