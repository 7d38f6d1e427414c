// The plug-in's answers to the host's capability questions (effCanDo).
#pragma once

#include "plugin/vst2_abi.h"

namespace quenvale {

// 1 for "receiveVstEvents" and "receiveVstMidiEvent"; 0 for every other string and for null.
VstIntPtr canDo(const char* capability) noexcept;

}  // namespace quenvale
